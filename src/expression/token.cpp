#include "expression/token.h"

#include "vm/vm_module.h"

namespace quenmark {

namespace {

constexpr TokenKind OperatorMembers[] = {
    TokenKind::Plus, TokenKind::Minus, TokenKind::Multiple, TokenKind::Divide,
    TokenKind::Intdiv, TokenKind::Surplus, TokenKind::Power, TokenKind::Factorial,
    TokenKind::And, TokenKind::Or, TokenKind::Xor, TokenKind::Not,
    TokenKind::LShift, TokenKind::RShift, TokenKind::Equal,
};

std::string LiteralKindText(const TCCToken& token, const NumberSeparators& separators) {
    std::string text = "Literal, ";
    for (TokenKind kind : {TokenKind::Integer, TokenKind::Real, TokenKind::String})
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    for (TokenKind kind : {TokenKind::Dec, TokenKind::Hex, TokenKind::Oct, TokenKind::Bin})
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    text += "Value = " + token.Value.ToText(separators) + ", ";
    return text;
}

std::string OperatorKindText(const TCCToken& token) {
    std::string text = "Operator, ";
    for (TokenKind kind : OperatorMembers)
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    return text;
}

}  // namespace

// A switch without a default: a missing case fails the build, whatever
// the build's warning options.
#pragma GCC diagnostic error "-Wswitch"
const char* TokenKindName(TokenKind kind) {
    switch (kind) {
    case TokenKind::Literal: return "Literal";
    case TokenKind::Dec: return "Dec";
    case TokenKind::Hex: return "Hex";
    case TokenKind::Oct: return "Oct";
    case TokenKind::Bin: return "Bin";
    case TokenKind::Integer: return "Integer";
    case TokenKind::Real: return "Real";
    case TokenKind::String: return "String";
    case TokenKind::Identifier: return "Identifier";
    case TokenKind::Operator: return "Operator";
    case TokenKind::Plus: return "Plus";
    case TokenKind::Minus: return "Minus";
    case TokenKind::Multiple: return "Multiple";
    case TokenKind::Divide: return "Divide";
    case TokenKind::Intdiv: return "Intdiv";
    case TokenKind::Surplus: return "Surplus";
    case TokenKind::Power: return "Power";
    case TokenKind::Factorial: return "Factorial";
    case TokenKind::And: return "And";
    case TokenKind::Or: return "Or";
    case TokenKind::Xor: return "Xor";
    case TokenKind::Not: return "Not";
    case TokenKind::LShift: return "LShift";
    case TokenKind::RShift: return "RShift";
    case TokenKind::Equal: return "Equal";
    case TokenKind::Symbol: return "Symbol";
    case TokenKind::LeftParen: return "LeftParen";
    case TokenKind::RightParen: return "RightParen";
    case TokenKind::LeftBracket: return "LeftBracket";
    case TokenKind::RightBracket: return "RightBracket";
    case TokenKind::Comma: return "Comma";
    case TokenKind::Sharp: return "Sharp";
    case TokenKind::AtMark: return "AtMark";
    }
    return "";
}

void TTokenText::AssignLong(std::string_view text) {
    FLong = std::make_unique<char[]>(text.size());
    FSize = text.size();
    std::memcpy(FLong.get(), text.data(), text.size());
}

const std::string& TCCToken::UpperText() const {
    if (!FUpperText) FUpperText = std::make_unique<std::string>(UpperCase(Text()));
    return *FUpperText;
}

std::string TCCToken::Description(const NumberSeparators& separators) const {
    std::string kinds;
    if (Is(TokenKind::Literal)) kinds = LiteralKindText(*this, separators);
    else if (Is(TokenKind::Operator)) kinds = OperatorKindText(*this);
    else if (Is(TokenKind::Symbol)) kinds = "Symbol, ";
    else if (Is(TokenKind::Identifier)) kinds = "Identifier, ";
    if (Module) kinds += "Tokenized by " + Module->FileName() + ", ";
    if (kinds.size() >= 2) kinds.resize(kinds.size() - 2);
    return std::string(Text()) + "\t(" + kinds + ")";
}

}  // namespace quenmark
