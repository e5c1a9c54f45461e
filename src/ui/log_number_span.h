#pragma once

#include <QString>

namespace quenmark {

// Where a number lies in a line of text, as start and length; length 0
// when there is none.
struct TTextSpan {
    int Start = 0;
    int Length = 0;

    bool operator==(const TTextSpan&) const = default;
};

// The whole number at or just before the column (a caret position) in a log
// line: its digits with any letters joined to them (a radix prefix such as
// "0x", hexadecimal digits, an exponent "E", a suffix), a point or a
// thousands separator between two digits, the sign of an exponent, a sign
// before the number that is no operator, and the "&" of "&H" and "&O". A
// word that starts with a letter is a name, not a number: no span.
TTextSpan NumberSpanAt(const QString& line, int column);

}  // namespace quenmark
