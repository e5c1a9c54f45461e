#pragma once

#include "vm/variant.h"
#include "vm/vmx.h"

namespace quenmark {

// Fills the record from the value. A String is not copied: StrValue points
// at the value's own characters, which stay valid while the value lives
// unchanged. Throws Exception("Invalid variant type.") for an unassigned value.
void VariantToVMX(const Variant& value, VMXValue& record);

// A value from the record; a String is copied up to the first zero byte and
// at most StrLength characters. Throws Exception("Invalid VMXValue type.")
// for an unknown tag.
Variant VMXToVariant(const VMXValue& record);

}  // namespace quenmark
