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

}  // namespace quenmark
