#pragma once

#include <string>

namespace quenmark {

// The decimal and thousands separators used wherever numbers become text and
// text becomes numbers. Both may be several bytes (UTF-8).
struct NumberSeparators {
    std::string Decimal = ".";
    std::string Thousands = ",";
};

}  // namespace quenmark
