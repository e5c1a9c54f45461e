#pragma once

#include <string_view>

namespace quenmark {

// The one conversion of decimal text to a double, shared by number literals,
// text-to-number conversion, unit-file factors, the unit window's input and
// the text module. Depends on nothing but the standard library, so modules
// can compile it in.

enum class DecimalRange {
    InRange,   // Value is the double nearest to the text
    Overflow,  // the text's magnitude is beyond the double range
    Underflow  // the text's magnitude is below the smallest double; Value is 0
};

struct DecimalReal {
    double Value = 0;
    DecimalRange Range = DecimalRange::InRange;
};

// Reads "digits[.digits][(e|E)[+|-]digits]" (digits on at least one side of
// the point), all of the text and nothing else, correctly rounded to the
// nearest double. Returns false for any other text.
bool ReadDecimalReal(std::string_view text, DecimalReal& result);

}  // namespace quenmark
