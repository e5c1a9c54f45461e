#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/number_separators.h"

namespace quenmark {

// The value the calculator computes with: an Integer (signed 32-bit), a Real
// (double) or a String (8-bit characters). A default-constructed Variant is
// unassigned; storage slots and new variables start as Integer 0 instead.
class Variant {
public:
    enum class Kind : uint8_t { Unassigned, Integer, Real, String };

    Variant() = default;
    Variant(int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(std::string_view value) : value_(std::string(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}

    Kind GetKind() const { return static_cast<Kind>(value_.index()); }
    bool IsUnassigned() const { return GetKind() == Kind::Unassigned; }
    bool IsInteger() const { return GetKind() == Kind::Integer; }
    bool IsReal() const { return GetKind() == Kind::Real; }
    bool IsString() const { return GetKind() == Kind::String; }
    bool IsNumber() const { return IsInteger() || IsReal(); }

    // Direct access; the kind must match.
    int32_t AsInteger() const { return std::get<int32_t>(value_); }
    double AsReal() const { return std::get<double>(value_); }
    const std::string& AsString() const { return std::get<std::string>(value_); }

    // Conversions with the given number separators (those of the caller's
    // context). ToInteger rounds a Real half to even and throws EInvalidOp
    // outside the 32-bit range; a String that is not a number throws
    // EConvertError. ToText of an unassigned value is empty.
    std::string ToText(const NumberSeparators& separators) const;
    int32_t ToInteger(const NumberSeparators& separators) const;
    double ToReal(const NumberSeparators& separators) const;

    bool operator==(const Variant& other) const = default;

private:
    std::variant<std::monostate, int32_t, double, std::string> value_;
};

}  // namespace quenmark
