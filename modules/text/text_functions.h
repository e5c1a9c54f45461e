// The functions of text.vmx. Each takes the module's checked argument
// records and fills the result record; it returns vmxSuccess or a failure
// code.
#pragma once

#include <string>
#include <string_view>

#include "vm/vmx.h"

namespace textmodule {

// What the failure codes of this module mean.
enum : int32_t {
    textOutsideDomain = vmxFailure1,  // an argument lies outside the function's domain
    textWrongType = vmxFailure2,      // an argument is not of the type the function takes
    textOutOfRange = vmxFailure3,     // the result is beyond the range of numbers
    textNotWhole = vmxFailure4,       // an argument must be a whole number
    textUnknownCall = vmxFailure5     // no such function, or the wrong number of arguments
};

using TextHandler = int32_t (*)(const VMXValue* args, VMXValue* result);

// The text of a value: a String as it is, a number in the plain form the
// calculator shows (15 significant digits, the user's decimal separator).
std::string ValueText(const VMXValue& value);

// Points the result at text held by the module until its next call.
int32_t SetText(VMXValue* result, std::string text);

int32_t Len(const VMXValue* args, VMXValue* result);
int32_t Upper(const VMXValue* args, VMXValue* result);
int32_t Lower(const VMXValue* args, VMXValue* result);
int32_t Left(const VMXValue* args, VMXValue* result);
int32_t Right(const VMXValue* args, VMXValue* result);
int32_t Mid(const VMXValue* args, VMXValue* result);
int32_t Str(const VMXValue* args, VMXValue* result);
int32_t Val(const VMXValue* args, VMXValue* result);

}  // namespace textmodule
