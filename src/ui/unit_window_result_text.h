#pragma once

#include <string>

#include "vm/number_text.h"

namespace quenmark {

// The general number form of the converted value (and of real constants in
// the module listing): up to 15 significant digits without trailing zeros,
// written out from 0.0001 up to below 1E15, otherwise a mantissa with "E",
// a minus sign only for a negative exponent and no leading zeros ("1E15",
// "1E-5", "1.5E-7"). The decimal separator is the given one.
std::string GeneralNumberText(double value, const NumberSeparators& separators);
std::string GeneralNumberText(double value);

}  // namespace quenmark
