#include "vm/variant.h"

#include <variant>

#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {

std::string Variant::ToText(const NumberSeparators& separators) const {
    switch (GetKind()) {
    case Kind::Integer: return std::to_string(AsInteger());
    case Kind::Real: return RealToText(AsReal(), separators);
    case Kind::String: return AsString();
    case Kind::Unassigned: break;
    }
    return {};
}

int32_t Variant::ToInteger(const NumberSeparators& separators) const {
    switch (GetKind()) {
    case Kind::Integer: return AsInteger();
    case Kind::Real: return RoundToInteger(AsReal());
    case Kind::String: return RoundToInteger(TextToReal(AsString(), separators));
    case Kind::Unassigned: break;
    }
    return 0;
}

double Variant::ToReal(const NumberSeparators& separators) const {
    switch (GetKind()) {
    case Kind::Integer: return AsInteger();
    case Kind::Real: return AsReal();
    case Kind::String: return TextToReal(AsString(), separators);
    case Kind::Unassigned: break;
    }
    return 0.0;
}

bool Variant::operator==(const Variant& other) const {
    if (FKind != other.FKind) return false;
    switch (FKind) {
    case Kind::Integer: return FNumber.Integer == other.FNumber.Integer;
    case Kind::Real: return FNumber.Real == other.FNumber.Real;
    case Kind::String: return FString == other.FString;
    case Kind::Unassigned: break;
    }
    return true;
}

// Assignment where either side is a String; Other is const Variant& for
// a copy and Variant for a move, and the other side's string is copied or
// moved accordingly.
template <typename Other>
Variant& Variant::AssignStringCase(Other&& other) {
    if (this == &other) return *this;
    if (IsString() && other.IsString()) {
        FString = std::forward<Other>(other).FString;
    } else if (other.IsString()) {
        new (&FString) std::string(std::forward<Other>(other).FString);
        FKind = Kind::String;
    } else {
        DropString();
        FNumber = other.FNumber;
        FKind = other.FKind;
    }
    return *this;
}

Variant& Variant::AssignWithString(const Variant& other) { return AssignStringCase(other); }

Variant& Variant::MoveWithString(Variant&& other) noexcept { return AssignStringCase(std::move(other)); }

void Variant::WrongKind() { throw std::bad_variant_access(); }

}  // namespace quenmark
