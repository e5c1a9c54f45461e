#pragma once

#include <string>
#include <string_view>

#include "vm/number_text.h"

namespace quenmark {

// Writes a value through a number format mask, a picture of the number:
// "0" and "#" digit positions, "." for the decimal separator, "," for
// thousands grouping, "E+"/"E-" (or "e+"/"e-") followed by "0"s for
// scientific notation, quoted text, and up to three ";"-separated sections
// for positive, negative and zero values. The separators written are the
// given ones. An empty mask, an empty first section, a value that is not
// finite and a value with more than 18 integer digits give the plain text
// form instead.
std::string ApplyNumberMask(double value, std::string_view mask, const NumberSeparators& separators);

}  // namespace quenmark
