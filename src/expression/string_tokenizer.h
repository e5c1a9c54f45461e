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
    // Offers the rest of the line. Returns a token and sets consumed to the
    // number of characters it covers, or returns null when no module
    // recognises one. Throws EINError for a module's failure.
    virtual TokenPtr ReadToken(std::string_view rest, size_t& consumed) = 0;
};

// Splits one line into tokens; tokens can be pushed back for look-ahead.
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
    TokenPtr NextToken() {
        if (FPushedBack.empty()) return ReadToken();
        TokenPtr token = std::move(FPushedBack.back());
        FPushedBack.pop_back();
        return token;
    }
    // The next NextToken returns this token (or the empty entry).
    void PushBack(TokenPtr token) { FPushedBack.push_back(std::move(token)); }
    // The token the next NextToken returns, or null at the end of the line;
    // it is read now (so its errors are raised now) and stays owned here.
    const TCCToken* PeekToken() { return FPushedBack.empty() ? ReadAhead() : FPushedBack.back().get(); }
    bool HasMoreTokens();
    // Lists every token of the line into lines (when given); afterwards the
    // tokens are pushed back in reading order.
    void DumpTokens(std::vector<std::string>* lines);

    const std::string& Line() const { return FLine; }
    size_t Length() const { return FLine.size(); }
    size_t Position() const { return FPosition; }
    TokenKinds SeenKinds() const { return FSeenKinds; }
    const TCCContext& Context() const { return FContext; }

    // The module tokenizers to ask; null (the default) asks none. Not owned.
    void SetModuleTokenSource(ModuleTokenSource* source) { FModuleSource = source; }

private:
    // The next token of the line itself, past the pushed-back ones.
    TokenPtr ReadToken();
    // Reads the next token of the line onto the push-back stack.
    const TCCToken* ReadAhead();
    [[noreturn]] void Fail(const char* code) const;
    // INT030 with the character at the 0-based index of the line.
    [[noreturn]] void FailCharacter(size_t index) const;
    char NextChar();
    void PushBackChar();
    char PeekChar() const;
    void SkipBlanks();

    TokenPtr ReadBuiltInToken(char first);
    TokenPtr ReadString();
    TokenPtr ReadNumber();
    TokenPtr ReadRadixNumber(std::string text, int bitsPerDigit, int maxDigits,
                             TokenKind radix, const char* missingDigitCode, const char* tooManyCode);
    TokenPtr ReadOctal();
    TokenPtr ReadDecimal();
    TokenPtr ReadIdentifier();
    TokenPtr ReadOperator();

    const TCCContext& FContext;
    std::string FLine;
    size_t FPosition = 1;  // 1-based index of the next character
    std::vector<TokenPtr> FPushedBack;
    TokenKinds FSeenKinds;
    ModuleTokenSource* FModuleSource = nullptr;
};

}  // namespace quenmark
