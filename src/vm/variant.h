#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "base/number_separators.h"

namespace quenmark {

// The value the calculator computes with: an Integer (signed 32-bit), a Real
// (double) or a String (8-bit characters). A default-constructed Variant is
// unassigned; storage slots and new variables start as Integer 0 instead.
//
// A tagged union written out by hand: the machine copies and moves values
// at every instruction, and a number is then a plain copy of its bits, with
// the String's constructors and destructor run only for a String.
class Variant {
public:
    enum class Kind : uint8_t { Unassigned, Integer, Real, String };

    Variant() noexcept : FNumber{} {}
    Variant(int32_t value) noexcept : FKind(Kind::Integer) { FNumber.Integer = value; }
    Variant(double value) noexcept : FKind(Kind::Real) { FNumber.Real = value; }
    Variant(std::string&& value) : FKind(Kind::String) { new (&FString) std::string(std::move(value)); }
    Variant(const std::string& value) : FKind(Kind::String) { new (&FString) std::string(value); }
    Variant(std::string_view value) : FKind(Kind::String) { new (&FString) std::string(value); }
    Variant(const char* value) : FKind(Kind::String) { new (&FString) std::string(value); }

    Variant(const Variant& other) : FKind(other.FKind) {
        if (other.IsString()) new (&FString) std::string(other.FString);
        else FNumber = other.FNumber;
    }
    Variant(Variant&& other) noexcept : FKind(other.FKind) {
        if (other.IsString()) new (&FString) std::string(std::move(other.FString));
        else FNumber = other.FNumber;
    }
    // Numbers are copied in line; a String on either side takes the
    // general way.
    Variant& operator=(const Variant& other) {
        if (IsString() || other.IsString()) return AssignWithString(other);
        FNumber = other.FNumber;
        FKind = other.FKind;
        return *this;
    }
    Variant& operator=(Variant&& other) noexcept {
        if (IsString() || other.IsString()) return MoveWithString(std::move(other));
        FNumber = other.FNumber;
        FKind = other.FKind;
        return *this;
    }
    ~Variant() { DropString(); }

    Kind GetKind() const { return FKind; }
    bool IsUnassigned() const { return FKind == Kind::Unassigned; }
    bool IsInteger() const { return FKind == Kind::Integer; }
    bool IsReal() const { return FKind == Kind::Real; }
    bool IsString() const { return FKind == Kind::String; }
    bool IsNumber() const { return IsInteger() || IsReal(); }

    // Direct access; the kind must match (std::bad_variant_access otherwise).
    int32_t AsInteger() const {
        if (!IsInteger()) WrongKind();
        return FNumber.Integer;
    }
    double AsReal() const {
        if (!IsReal()) WrongKind();
        return FNumber.Real;
    }
    const std::string& AsString() const {
        if (!IsString()) WrongKind();
        return FString;
    }

    // Conversions with the given number separators (those of the caller's
    // context). ToInteger rounds a Real half to even and throws EInvalidOp
    // outside the 32-bit range; a String that is not a number throws
    // EConvertError. ToText of an unassigned value is empty.
    std::string ToText(const NumberSeparators& separators) const;
    int32_t ToInteger(const NumberSeparators& separators) const;
    double ToReal(const NumberSeparators& separators) const;

    // Same kind and same value; Reals compare as doubles (NaN is unequal).
    bool operator==(const Variant& other) const;

private:
    // Leaves the String's storage without a live string; the kind is then
    // set by the caller.
    void DropString() noexcept {
        if (IsString()) {
            FString.~basic_string();
            FKind = Kind::Unassigned;
        }
    }
    [[noreturn]] static void WrongKind();
    Variant& AssignWithString(const Variant& other);
    Variant& MoveWithString(Variant&& other) noexcept;
    template <typename Other>
    Variant& AssignStringCase(Other&& other);

    union Number {
        int32_t Integer;
        double Real;
    };

    Kind FKind = Kind::Unassigned;
    union {
        Number FNumber;
        std::string FString;
    };
};

}  // namespace quenmark
