#include "vm/vmx_value.h"

#include <cstring>

#include "base/exception.h"

namespace quenmark {

void VariantToVMX(const Variant& value, VMXValue& record) {
    switch (value.GetKind()) {
    case Variant::Kind::Integer:
        record.ValueType = vmxInteger;
        record.IntValue = value.AsInteger();
        return;
    case Variant::Kind::Real:
        record.ValueType = vmxReal;
        record.RealValue = value.AsReal();
        return;
    case Variant::Kind::String: {
        const std::string& text = value.AsString();
        record.ValueType = vmxString;
        // Modules receive a read-only view; the interface type predates const.
        record.StrValue = const_cast<char*>(text.c_str());
        record.StrLength = static_cast<int32_t>(text.size());
        record.StrSize = static_cast<int32_t>(text.size());
        return;
    }
    case Variant::Kind::Unassigned: break;
    }
    throw Exception("Invalid variant type.");
}

Variant VMXToVariant(const VMXValue& record) {
    switch (record.ValueType) {
    case vmxInteger: return Variant(record.IntValue);
    case vmxReal: return Variant(record.RealValue);
    case vmxString: {
        if (record.StrLength <= 0 || record.StrValue == nullptr) return Variant(std::string());
        const size_t limit = static_cast<size_t>(record.StrLength);
        const void* zero = std::memchr(record.StrValue, 0, limit);
        const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - record.StrValue) : limit;
        return Variant(std::string(record.StrValue, length));
    }
    default: break;
    }
    throw Exception("Invalid VMXValue type.");
}

}  // namespace quenmark
