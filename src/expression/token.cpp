#include "expression/token.h"

#include <array>

#include "vm/vm_module.h"

namespace quenmark {

namespace {

constexpr std::array<const char*, TokenKindCount> KindNames = {
    "Literal", "Dec", "Hex", "Oct", "Bin", "Integer", "Real", "String", "Identifier",
    "Operator", "Plus", "Minus", "Multiple", "Divide", "Intdiv", "Surplus", "Power", "Factorial",
    "And", "Or", "Xor", "Not", "LShift", "RShift", "Equal", "Symbol",
    "LeftParen", "RightParen", "LeftBracket", "RightBracket", "Comma", "Sharp", "AtMark",
};
static_assert(KindNames.size() == TokenKindCount, "one name per token kind");

constexpr TokenKind OperatorMembers[] = {
    TokenKind::Plus, TokenKind::Minus, TokenKind::Multiple, TokenKind::Divide,
    TokenKind::Intdiv, TokenKind::Surplus, TokenKind::Power, TokenKind::Factorial,
    TokenKind::And, TokenKind::Or, TokenKind::Xor, TokenKind::Not,
    TokenKind::LShift, TokenKind::RShift, TokenKind::Equal,
};

std::string LiteralKindText(const TCCToken& token) {
    std::string text = "Literal, ";
    for (TokenKind kind : {TokenKind::Integer, TokenKind::Real, TokenKind::String})
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    for (TokenKind kind : {TokenKind::Dec, TokenKind::Hex, TokenKind::Oct, TokenKind::Bin})
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    text += "Value = " + token.Value.ToText() + ", ";
    return text;
}

std::string OperatorKindText(const TCCToken& token) {
    std::string text = "Operator, ";
    for (TokenKind kind : OperatorMembers)
        if (token.Is(kind)) { text += TokenKindName(kind); text += ", "; break; }
    return text;
}

}  // namespace

const char* TokenKindName(TokenKind kind) { return KindNames[static_cast<size_t>(kind)]; }

TCCToken::TCCToken(std::string text, TokenKinds kinds, Variant value)
    : Kinds(kinds), Value(std::move(value)) {
    SetText(std::move(text));
}

void TCCToken::SetText(std::string text) {
    FUpperText = UpperCase(text);
    FText = std::move(text);
}

std::string TCCToken::Description() const {
    std::string kinds;
    if (Is(TokenKind::Literal)) kinds = LiteralKindText(*this);
    else if (Is(TokenKind::Operator)) kinds = OperatorKindText(*this);
    else if (Is(TokenKind::Symbol)) kinds = "Symbol, ";
    else if (Is(TokenKind::Identifier)) kinds = "Identifier, ";
    if (Module) kinds += "Tokenized by " + Module->FileName() + ", ";
    if (kinds.size() >= 2) kinds.resize(kinds.size() - 2);
    return FText + "\t(" + kinds + ")";
}

}  // namespace quenmark
