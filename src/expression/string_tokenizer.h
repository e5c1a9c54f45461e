#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/context.h"
#include "expression/token.h"

namespace quenmark {

using TokenPtr = std::unique_ptr<TCCToken>;

// Token rules beside the built-in ones: the tokenizers of loaded modules,
// asked at every token position before the built-in rules.
class ModuleTokenSource {
public:
    virtual ~ModuleTokenSource() = default;
    // Offers the rest of the line. When a module recognises a token, fills
    // token with it, sets consumed to the number of characters it covers and
    // returns true; otherwise returns false and leaves token as it was.
    // Throws EINError for a module's failure.
    virtual bool ReadToken(std::string_view rest, size_t& consumed, TCCToken& token) = 0;
};

// Splits one line into tokens. Tokens are read ahead into slots that are
// reused from token to token, so looking ahead costs no allocation; a token
// taken with NextToken is the caller's own.
class TCCStringTokenizer {
public:
    static constexpr int MaxHexDigits = 8;
    static constexpr int MaxOctDigits = 10;
    static constexpr int MaxBinDigits = 32;

    // Errors are EINError with the context's messages; the dump writes
    // Real values with its separators. The context must outlive the
    // tokenizer.
    explicit TCCStringTokenizer(const TCCContext& context, std::string line = {});

    // A new line; the storage of the last one is reused.
    void SetText(std::string_view line);
    void Reset();

    // The next token, or null at the end of the line. Throws EINError.
    TokenPtr NextToken();
    // The next NextToken returns this token (or the empty entry).
    void PushBack(TokenPtr token);
    // The token ahead places after the next one (0: the next one), reading
    // the line up to it now, in order, so that lexical errors come in line
    // order. Null at the end of the line and for a pushed-back empty entry.
    // The token stays here: it is valid until the tokenizer is next used.
    TCCToken* PeekToken(size_t ahead = 0) {
        return ahead < FEnd - FFirst ? Pending(FFirst + ahead) : ReadAhead(ahead);
    }
    // Drops the next token, which PeekToken has read.
    void SkipToken() {
        if (++FFirst == FEnd) FFirst = FEnd = 0;
    }
    bool HasMoreTokens();
    // Lists every token of the line into lines (when given); afterwards the
    // tokens are still to be read, in reading order.
    void DumpTokens(std::vector<std::string>* lines);

    const std::string& Line() const { return FLine; }
    size_t Length() const { return FLine.size(); }
    size_t Position() const { return FPosition; }
    TokenKinds SeenKinds() const { return FSeenKinds; }
    const TCCContext& Context() const { return FContext; }

    // The module tokenizers to ask; null (the default) asks none. Not owned.
    void SetModuleTokenSource(ModuleTokenSource* source) { FModuleSource = source; }

private:
    // A slot that holds no token stands for a pushed-back empty entry.
    TCCToken* Pending(size_t slot) { return FSlots[slot].Kinds.Empty() ? nullptr : &FSlots[slot]; }
    // Reads tokens of the line until ahead places are pending; null when the
    // line ends first.
    TCCToken* ReadAhead(size_t ahead);
    // Reads the next token of the line into token; false at the end.
    bool ReadToken(TCCToken& token);
    [[noreturn]] void Fail(const char* code) const;
    // INT030 with the character at the 0-based index of the line.
    [[noreturn]] void FailCharacter(size_t index) const;
    char NextChar();
    char PeekChar() const;
    void SkipBlanks();

    void ReadBuiltInToken(char first, TCCToken& token);
    void ReadString(TCCToken& token);
    void ReadNumber(TCCToken& token);
    void ReadRadixNumber(int bitsPerDigit, int maxDigits, TokenKind radix, const char* missingDigitCode,
                         const char* tooManyCode, TCCToken& token);
    void ReadOctal(TCCToken& token);
    void ReadDecimal(TCCToken& token);
    void ReadIdentifier(TCCToken& token);
    void ReadOperator(TCCToken& token);

    const TCCContext& FContext;
    std::string FLine;
    size_t FPosition = 1;  // 1-based index of the next character
    // The tokens read ahead are the slots FFirst to FEnd, the next one first.
    std::vector<TCCToken> FSlots;
    size_t FSlotCount = 0;  // FSlots.size(), kept at hand
    size_t FFirst = 0;
    size_t FEnd = 0;
    bool FLineEnded = false;  // the line has no token after the pending ones
    TokenKinds FSeenKinds;
    ModuleTokenSource* FModuleSource = nullptr;
};

}  // namespace quenmark
