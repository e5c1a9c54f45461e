#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/number_separators.h"

namespace quenmark {

// Numbers become text and text becomes numbers with the separators the
// caller gives: those of its context (base/context.h), which the
// application reads from the user's LC_NUMERIC locale at start-up.

// Plain text of a Real: 15 significant digits, no trailing zeros, "E" with a
// signed two-digit exponent for very large or very small magnitudes, the
// given decimal separator.
std::string RealToText(double value, const NumberSeparators& separators);

// General text of a Real, as unit conversions and the module listing show
// it: fixed from 0.0001 up to below 1E15, otherwise "E" with a short
// exponent ("1E15", "1.5E-7"); the given decimal separator.
std::string RealToGeneralText(double value, const NumberSeparators& separators);

// Reads a number text that must be consumed whole. Throws EConvertError for a
// text that is not a number and EOverflow for one beyond the double range.
double TextToReal(std::string_view text, const NumberSeparators& separators);

// Rounds to the nearest Integer, ties to the even neighbour. Throws EInvalidOp
// when the value is not finite or outside the signed 32-bit range.
int32_t RoundToInteger(double value);

}  // namespace quenmark
