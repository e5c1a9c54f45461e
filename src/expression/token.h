#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "base/names.h"
#include "vm/variant.h"

namespace quenmark {

class TVMModule;

enum class TokenKind : uint8_t {
    Literal, Dec, Hex, Oct, Bin, Integer, Real, String, Identifier,
    Operator, Plus, Minus, Multiple, Divide, Intdiv, Surplus, Power, Factorial,
    And, Or, Xor, Not, LShift, RShift, Equal, Symbol,
    LeftParen, RightParen, LeftBracket, RightBracket, Comma, Sharp, AtMark,
};

constexpr int TokenKindCount = static_cast<int>(TokenKind::AtMark) + 1;
static_assert(TokenKindCount <= 64, "a set of kinds is one 64-bit word");

// The names printed by the token dump, Literal to Symbol.
const char* TokenKindName(TokenKind kind);

// A set of token kinds.
class TokenKinds {
public:
    constexpr TokenKinds() = default;
    constexpr TokenKinds(std::initializer_list<TokenKind> kinds) {
        for (TokenKind kind : kinds) bits_ |= Bit(kind);
    }

    constexpr bool Has(TokenKind kind) const { return (bits_ & Bit(kind)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint64_t Bits() const { return bits_; }
    constexpr TokenKinds& operator|=(TokenKinds other) { bits_ |= other.bits_; return *this; }
    constexpr TokenKinds& operator+=(TokenKind kind) { bits_ |= Bit(kind); return *this; }
    constexpr bool operator==(const TokenKinds&) const = default;

private:
    static constexpr uint64_t Bit(TokenKind kind) { return uint64_t{1} << static_cast<int>(kind); }
    uint64_t bits_ = 0;
};

// The characters of a token. Most tokens are a few characters long: up to
// InlineSize of them are kept in place, so that making a token needs no
// allocation. Identifiers are never longer.
class TTokenText {
public:
    static constexpr size_t InlineSize = 32;

    TTokenText() = default;
    explicit TTokenText(std::string_view text) { Assign(text); }

    void Assign(std::string_view text) { AssignCopying(text, text.size()); }
    // As Assign, for a text that is followed by enough readable storage:
    // InlineSize characters from its start are copied at once, without a
    // call.
    void AssignPadded(std::string_view text) { AssignCopying(text, InlineSize); }
    std::string_view View() const { return {FLong ? FLong.get() : FInline, FSize}; }

private:
    // Keeps the text; a short one by copying `copied` characters from its
    // start.
    void AssignCopying(std::string_view text, size_t copied) {
        if (text.size() > InlineSize) {
            AssignLong(text);
            return;
        }
        FLong.reset();
        FSize = text.size();
        if (copied != 0) std::memcpy(FInline, text.data(), copied);  // an empty view may have no data
    }
    void AssignLong(std::string_view text);

    size_t FSize = 0;
    std::unique_ptr<char[]> FLong;
    char FInline[InlineSize];
};

// One token of an input line.
class TCCToken {
public:
    TCCToken() = default;
    TCCToken(std::string_view text, TokenKinds kinds, Variant value = Variant())
        : Kinds(kinds), Value(std::move(value)), FText(text) {}
    TCCToken(const std::string& text, TokenKinds kinds, Variant value = Variant())
        : TCCToken(std::string_view(text), kinds, std::move(value)) {}
    TCCToken(const char* text, TokenKinds kinds, Variant value = Variant())
        : TCCToken(std::string_view(text), kinds, std::move(value)) {}

    // Makes this the token of the text; a reused slot of the tokenizer is
    // filled this way.
    void Set(std::string_view text, TokenKinds kinds, Variant value = Variant(), const TVMModule* module = nullptr) {
        FText.Assign(text);
        SetKindsAndValue(kinds, std::move(value), module);
    }

    // As Set, for a text followed by at least TTokenText::InlineSize
    // readable characters.
    void SetPadded(std::string_view text, TokenKinds kinds, Variant value = Variant()) {
        FText.AssignPadded(text);
        SetKindsAndValue(kinds, std::move(value), nullptr);
    }

    std::string_view Text() const { return FText.View(); }
    // The text with "a" to "z" in capitals, made on first use: only command
    // words need it.
    const std::string& UpperText() const;

    TokenKinds Kinds;
    Variant Value;
    const TVMModule* Module = nullptr;  // the module that produced the token; not owned

    bool Is(TokenKind kind) const { return Kinds.Has(kind); }

    // The dump description: text, a tab and the kind text in parentheses; a
    // Real value with the given separators.
    std::string Description(const NumberSeparators& separators) const;

private:
    void SetKindsAndValue(TokenKinds kinds, Variant value, const TVMModule* module) {
        Kinds = kinds;
        Value = std::move(value);
        Module = module;
        FUpperText.reset();
    }

    TTokenText FText;
    mutable std::unique_ptr<std::string> FUpperText;  // made on first use
};

}  // namespace quenmark
