#include "vm/variant.h"

#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {

std::string Variant::ToText() const {
    switch (GetKind()) {
    case Kind::Integer: return std::to_string(AsInteger());
    case Kind::Real: return RealToText(AsReal());
    case Kind::String: return AsString();
    case Kind::Unassigned: break;
    }
    return {};
}

int32_t Variant::ToInteger() const {
    switch (GetKind()) {
    case Kind::Integer: return AsInteger();
    case Kind::Real: return RoundToInteger(AsReal());
    case Kind::String: return RoundToInteger(TextToReal(AsString()));
    case Kind::Unassigned: break;
    }
    return 0;
}

double Variant::ToReal() const {
    switch (GetKind()) {
    case Kind::Integer: return AsInteger();
    case Kind::Real: return AsReal();
    case Kind::String: return TextToReal(AsString());
    case Kind::Unassigned: break;
    }
    return 0.0;
}

}  // namespace quenmark
