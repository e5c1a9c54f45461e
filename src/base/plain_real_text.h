#pragma once

#include <string>

namespace quenmark {

// The plain text of a Real with "." as the decimal point: 15 significant
// digits by the rules of "%.15G" (no trailing zeros, "E" with a sign and at
// least two exponent digits), the fixed form instead of a negative exponent
// when it needs at most 15 decimals, "0" for a negative zero, and "NAN",
// "INF", "-INF". Depends on nothing but the standard library, so modules can
// compile it in and write numbers exactly as the calculator shows them.
std::string PlainRealText(double value);

// The general text of a Real with "." as the decimal point, as the unit
// conversion shows results: the same 15 significant digits and the same
// choice of form as "%.15G" (fixed from 0.0001 up to below 1E15), but the
// exponent is written without "+" and without leading zeros ("1E15",
// "1.5E-7"), "0" for a negative zero, and "NAN", "INF", "-INF".
std::string GeneralRealText(double value);

// The text of a finite Real by "%.15g", exactly as the C library writes it
// ("1e+15", "0.1", "-2.5e-07"); the two forms above start from it.
std::string FifteenDigitGeneral(double value);

}  // namespace quenmark
