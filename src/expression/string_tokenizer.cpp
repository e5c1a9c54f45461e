#include "expression/string_tokenizer.h"

#include <array>
#include <cstdint>

#include "base/decimal_real.h"
#include "base/exception.h"

namespace quenmark {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool IsIdentifierChar(char c) { return IsLetter(c) || IsDecimalDigit(c) || c == '_'; }

int HexDigitValue(char c) {
    if (IsDecimalDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsOperatorChar(char c) {
    switch (c) {
    case '!': case '#': case '%': case '&': case '(': case ')': case '*': case '+': case ',':
    case '-': case '/': case '<': case '=': case '>': case '@': case '[': case ']': case '^':
    case '|':
        return true;
    default:
        return false;
    }
}

bool IsUnprintable(unsigned char c) { return c < 0x20 || c == 0x7F; }

// An unprintable byte as the text "\x" and two upper-case hex digits, so
// that a message naming it stays whole and readable (a zero byte would cut
// it short on output).
std::string EscapedByte(unsigned char c) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    return {'\\', 'x', Digits[c >> 4], Digits[c & 0x0F]};
}

// The whole UTF-8 character that starts at index, so that the message stays
// valid text; a single byte when the sequence is broken; an unprintable
// byte in its escaped form.
std::string CharacterAt(const std::string& line, size_t index) {
    const unsigned char lead = static_cast<unsigned char>(line[index]);
    if (IsUnprintable(lead)) return EscapedByte(lead);
    size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    if (length > 1) {
        for (size_t i = 1; i < length; ++i) {
            if (index + i >= line.size() || (static_cast<unsigned char>(line[index + i]) & 0xC0) != 0x80)
                return line.substr(index, 1);
        }
    }
    return line.substr(index, length);
}

}  // namespace

void TCCStringTokenizer::Fail(const char* code) const { throw EINError(FContext.GetText(code)); }

void TCCStringTokenizer::FailCharacter(size_t index) const {
    throw EINError(FContext.GetTextWith("INT030", CharacterAt(FLine, index)));
}

namespace {

struct OperatorRule {
    char Character;
    TokenKinds Kinds;
};

const OperatorRule OperatorRules[] = {
    {'+', {TokenKind::Operator, TokenKind::Plus}},
    {'-', {TokenKind::Operator, TokenKind::Minus}},
    {'*', {TokenKind::Operator, TokenKind::Multiple}},
    {'/', {TokenKind::Operator, TokenKind::Divide}},
    {'%', {TokenKind::Operator, TokenKind::Intdiv}},
    {'&', {TokenKind::Operator, TokenKind::And}},
    {'|', {TokenKind::Operator, TokenKind::Or}},
    {'^', {TokenKind::Operator, TokenKind::Xor}},
    {'!', {TokenKind::Operator, TokenKind::Not}},
    {'=', {TokenKind::Operator, TokenKind::Equal}},
    {'(', {TokenKind::Symbol, TokenKind::LeftParen}},
    {')', {TokenKind::Symbol, TokenKind::RightParen}},
    {'[', {TokenKind::Symbol, TokenKind::LeftBracket}},
    {']', {TokenKind::Symbol, TokenKind::RightBracket}},
    {',', {TokenKind::Symbol, TokenKind::Comma}},
    {'#', {TokenKind::Symbol, TokenKind::Sharp}},
    {'@', {TokenKind::Symbol, TokenKind::AtMark}},
};

// The rule of an operator character, or null; by table, as it is asked for
// every operator of every line.
const OperatorRule* OperatorRuleFor(char c) {
    static const auto table = [] {
        std::array<const OperatorRule*, 256> rules{};
        for (const OperatorRule& rule : OperatorRules) rules[static_cast<unsigned char>(rule.Character)] = &rule;
        return rules;
    }();
    return table[static_cast<unsigned char>(c)];
}

}  // namespace

TCCStringTokenizer::TCCStringTokenizer(const TCCContext& context, std::string line) : FContext(context) {
    SetText(std::move(line));
}

void TCCStringTokenizer::SetText(std::string_view line) {
    // The storage of a very long line goes back to the heap after it.
    constexpr size_t KeptCapacity = 4096;
    if (FLine.capacity() > KeptCapacity && line.size() < FLine.capacity() / 4) FLine = std::string();
    // Tokens copy their text from the line in blocks of a short token's
    // size, so that much storage follows the line's end.
    FLine.reserve(line.size() + TTokenText::InlineSize);
    FLine.assign(line);
    Reset();
}

void TCCStringTokenizer::Reset() {
    FFirst = FEnd = 0;
    FLineEnded = false;
    FPosition = 1;
    FSeenKinds = TokenKinds();
}

TokenPtr TCCStringTokenizer::NextToken() {
    TCCToken* token = PeekToken();
    if (!token) {
        if (FFirst < FEnd) SkipToken();  // a pushed-back empty entry
        return nullptr;
    }
    auto taken = std::make_unique<TCCToken>(std::move(*token));
    SkipToken();
    return taken;
}

void TCCStringTokenizer::PushBack(TokenPtr token) {
    if (FFirst == 0) {
        FSlots.emplace(FSlots.begin());
        ++FSlotCount;
        ++FEnd;
    } else {
        --FFirst;
    }
    if (token) FSlots[FFirst] = std::move(*token);
    else FSlots[FFirst].Set({}, TokenKinds());
}

char TCCStringTokenizer::NextChar() {
    const char c = PeekChar();
    ++FPosition;
    return c;
}

char TCCStringTokenizer::PeekChar() const {
    return FPosition <= FLine.size() ? FLine[FPosition - 1] : '\0';
}

void TCCStringTokenizer::SkipBlanks() {
    while (FPosition <= FLine.size() && FLine[FPosition - 1] == ' ') ++FPosition;
}

TCCToken* TCCStringTokenizer::ReadAhead(size_t ahead) {
    if (FLineEnded) return nullptr;
    while (FEnd - FFirst <= ahead) {
        if (FEnd == FSlotCount) {
            FSlots.emplace_back();
            ++FSlotCount;
        }
        if (!ReadToken(FSlots[FEnd])) {
            FLineEnded = true;
            return nullptr;
        }
        ++FEnd;
    }
    return Pending(FFirst + ahead);
}

bool TCCStringTokenizer::ReadToken(TCCToken& token) {
    SkipBlanks();
    if (FPosition > FLine.size()) return false;
    size_t consumed = 0;
    // The position is inside the line here: the rest needs no checked substr.
    if (FModuleSource &&
        FModuleSource->ReadToken(std::string_view(FLine.data() + (FPosition - 1), FLine.size() - (FPosition - 1)),
                                 consumed, token))
        FPosition += consumed;
    else
        ReadBuiltInToken(PeekChar(), token);
    FSeenKinds |= token.Kinds;
    return true;
}

// Numbers and one-character operators first: most tokens are one or the
// other.
void TCCStringTokenizer::ReadBuiltInToken(char first, TCCToken& token) {
    if (IsDecimalDigit(first)) {
        if (first == '0') ReadNumber(token);
        else ReadDecimal(token);
        return;
    }
    if (const OperatorRule* rule = OperatorRuleFor(first)) {
        token.SetPadded(std::string_view(FLine).substr(FPosition - 1, 1), rule->Kinds);
        ++FPosition;
        return;
    }
    if (first == '"') return ReadString(token);
    if (IsLetter(first) || first == '_') return ReadIdentifier(token);
    if (IsOperatorChar(first)) return ReadOperator(token);
    if (first == '.') Fail("INT008");
    FailCharacter(FPosition - 1);
}

bool TCCStringTokenizer::HasMoreTokens() {
    if (FFirst < FEnd) return true;
    SkipBlanks();
    return FPosition <= FLine.size();
}

void TCCStringTokenizer::DumpTokens(std::vector<std::string>* lines) {
    if (lines) lines->push_back("String Tokenize...");
    Reset();
    for (size_t ahead = 0;; ++ahead) {
        const TCCToken* token = PeekToken(ahead);
        if (!token) break;
        if (lines) lines->push_back("\t" + token->Description(FContext.Separators()));
    }
    if (lines) lines->push_back("Done.");
}

void TCCStringTokenizer::ReadString(TCCToken& token) {
    NextChar();  // opening quote
    std::string text;
    for (;;) {
        if (FPosition > FLine.size()) Fail("INT013");
        const char c = NextChar();
        if (c != '"') {
            text += c;
        } else if (PeekChar() == '"' && FPosition <= FLine.size()) {
            NextChar();
            text += '"';
        } else {
            break;
        }
    }
    Variant value(text);
    token.Set(text, TokenKinds{TokenKind::Literal, TokenKind::String}, std::move(value));
}

void TCCStringTokenizer::ReadNumber(TCCToken& token) {
    const char second = FPosition < FLine.size() ? FLine[FPosition] : '\0';
    if (FLine[FPosition - 1] == '0') {
        if (second == 'x' || second == 'X')
            return ReadRadixNumber(4, MaxHexDigits, TokenKind::Hex, "INT003", "INT002", token);
        if (second == 'b' || second == 'B')
            return ReadRadixNumber(1, MaxBinDigits, TokenKind::Bin, "INT007", "INT006", token);
        if (IsOctalDigit(second)) return ReadOctal(token);
    }
    ReadDecimal(token);
}

void TCCStringTokenizer::ReadRadixNumber(int bitsPerDigit, int maxDigits, TokenKind radix,
                                         const char* missingDigitCode, const char* tooManyCode, TCCToken& token) {
    const size_t start = FPosition - 1;
    FPosition += 2;  // the "0x" or "0b" prefix
    const int base = 1 << bitsPerDigit;
    auto digitValue = [base](char c) {
        const int d = HexDigitValue(c);
        return d < base ? d : -1;
    };
    if (digitValue(PeekChar()) < 0) Fail(missingDigitCode);
    uint32_t value = 0;
    int digits = 0;
    for (int d; (d = digitValue(PeekChar())) >= 0;) {
        if (++digits > maxDigits) Fail(tooManyCode);
        value = (value << bitsPerDigit) | static_cast<uint32_t>(d);
        NextChar();
    }
    token.SetPadded(std::string_view(FLine).substr(start, FPosition - 1 - start),
              TokenKinds{TokenKind::Literal, radix, TokenKind::Integer}, Variant(static_cast<int32_t>(value)));
}

void TCCStringTokenizer::ReadOctal(TCCToken& token) {
    const size_t start = FPosition - 1;
    NextChar();  // the leading "0" is not counted
    uint32_t value = 0;
    int digits = 0;
    while (IsOctalDigit(PeekChar())) {
        if (++digits > MaxOctDigits) Fail("INT004");
        value = value * 8 + static_cast<uint32_t>(NextChar() - '0');
    }
    token.SetPadded(std::string_view(FLine).substr(start, FPosition - 1 - start),
              TokenKinds{TokenKind::Literal, TokenKind::Oct, TokenKind::Integer}, Variant(static_cast<int32_t>(value)));
}

// Reads a decimal literal: the token rules decide where it ends, a wrapping
// 32-bit integer of its whole digits decides whether it is an Integer, and
// its value as a Real is the double nearest to its whole text.
void TCCStringTokenizer::ReadDecimal(TCCToken& token) {
    const size_t start = FPosition - 1;
    // The line ends in a zero byte, which ends the digits.
    const char* const line = FLine.c_str();
    size_t end = start;
    uint32_t integer = 0;
    for (; IsDecimalDigit(line[end]); ++end) integer = integer * 10 + static_cast<uint32_t>(line[end] - '0');
    FPosition = end + 1;
    const size_t wholeDigits = end - start;
    const bool fraction = PeekChar() == '.';
    if (fraction) {
        NextChar();
        if (!IsDecimalDigit(PeekChar())) Fail("INT010");
        while (IsDecimalDigit(PeekChar())) NextChar();
    }
    const bool exponent = PeekChar() == 'E' || PeekChar() == 'e';
    if (exponent) {
        NextChar();
        if (PeekChar() == '+' || PeekChar() == '-') NextChar();
        if (!IsDecimalDigit(PeekChar())) Fail("INT012");
        while (IsDecimalDigit(PeekChar())) NextChar();
    }
    const std::string_view text = std::string_view(FLine).substr(start, FPosition - 1 - start);
    constexpr TokenKinds IntegerKinds{TokenKind::Literal, TokenKind::Dec, TokenKind::Integer};
    // Up to nine whole digits alone are an Integer of exactly that value.
    if (!fraction && !exponent && wholeDigits <= 9)
        return token.SetPadded(text, IntegerKinds, Variant(static_cast<int32_t>(integer)));
    DecimalReal real;
    ReadDecimalReal(text, real);  // the syntax was checked above
    if (real.Range == DecimalRange::Overflow) Fail("INT011");
    const int32_t asInteger = static_cast<int32_t>(integer);
    if (static_cast<double>(asInteger) == real.Value) return token.SetPadded(text, IntegerKinds, Variant(asInteger));
    token.SetPadded(text, TokenKinds{TokenKind::Literal, TokenKind::Dec, TokenKind::Real}, Variant(real.Value));
}

void TCCStringTokenizer::ReadIdentifier(TCCToken& token) {
    const size_t start = FPosition - 1;
    // The line ends in a zero byte, which ends the name.
    const char* const line = FLine.c_str();
    size_t end = start;
    for (; IsIdentifierChar(line[end]); ++end)
        if (end - start == 32) Fail("INT020");
    FPosition = end + 1;
    token.SetPadded(std::string_view(line + start, end - start), TokenKinds{TokenKind::Identifier});
}

void TCCStringTokenizer::ReadOperator(TCCToken& token) {
    const std::string_view character = std::string_view(FLine).substr(FPosition - 1, 1);
    const char c = NextChar();
    if (c == '<' || c == '>') {
        if (PeekChar() != c) FailCharacter(FPosition - 2);
        NextChar();
        const TokenKind shift = c == '<' ? TokenKind::LShift : TokenKind::RShift;
        return token.SetPadded(character, TokenKinds{TokenKind::Operator, shift});
    }
    if (const OperatorRule* rule = OperatorRuleFor(c)) return token.SetPadded(character, rule->Kinds);
    FailCharacter(FPosition - 2);
}

}  // namespace quenmark
