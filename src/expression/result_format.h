#pragma once

#include <string>
#include <string_view>

#include "base/context.h"
#include "expression/output_mode.h"
#include "vm/number_text.h"
#include "vm/variant.h"

namespace quenmark {

// Renderers of a result. The radix renderers convert the value to a Real,
// round it half to even and write its 32-bit pattern (negative values as
// their two's complement), a String read with the context's separators.
// They throw EINError(INT070), in the context's messages, for a value that
// cannot be shown that way: not a number, not finite, or rounded outside
// -2147483648..4294967295.

// "0x" and capital hexadecimal digits, an even count of at least two.
std::string FormatHex(const Variant& value, const TCCContext& context);
// "0" and ten octal digits, eleven for a pattern of 2^30 or more.
std::string FormatOct(const Variant& value, const TCCContext& context);
// "0b" and binary digits, a multiple of four of at least four.
std::string FormatBin(const Variant& value, const TCCContext& context);

// The plain text form when the mask is empty, otherwise the value as a Real
// through the number format mask. A String that is not a number is shown as
// its text.
std::string FormatDecimal(const Variant& value, std::string_view mask, const NumberSeparators& separators);

// A String between double quotes, its text as it is; any other value in its
// plain text form. The form of a value in the result line, in "@VAR" and in
// completion.
std::string QuotedOrPlainText(const Variant& value, const NumberSeparators& separators);

// A result as a script prints it, one literal that reads back as the same
// value: a String's own text, without quotes; a number in the radix form of
// mode when that form reads back as it (a whole number of 32 bits in
// hexadecimal and binary, negative ones as their two's complement; 0 to
// 2^30-1 in octal), else in its decimal form, plain or through the mask
// when one is set.
std::string PlainResultText(const Variant& value, OutputMode mode, std::string_view mask, const TCCContext& context);

}  // namespace quenmark
