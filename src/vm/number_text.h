#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/number_separators.h"

namespace quenmark {

// The separators in force. By default those of the user's LC_NUMERIC locale,
// read once; tests and callers may replace them.
const NumberSeparators& CurrentSeparators();
void SetCurrentSeparators(const NumberSeparators& separators);

// Plain text of a Real: 15 significant digits, no trailing zeros, "E" with a
// signed two-digit exponent for very large or very small magnitudes, the
// current decimal separator.
std::string RealToText(double value);
std::string RealToText(double value, const NumberSeparators& separators);

// Reads a number text that must be consumed whole. Throws EConvertError for a
// text that is not a number and EOverflow for one beyond the double range.
double TextToReal(std::string_view text);
double TextToReal(std::string_view text, const NumberSeparators& separators);

// Rounds to the nearest Integer, ties to the even neighbour. Throws EInvalidOp
// when the value is not finite or outside the signed 32-bit range.
int32_t RoundToInteger(double value);

}  // namespace quenmark
