#include "ui/log_number_span.h"

namespace quenmark {

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool IsAlphanumeric(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

bool IsSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

bool IsSeparator(QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(','); }

bool IsExponentMark(QChar c) { return c == QLatin1Char('E') || c == QLatin1Char('e'); }

QChar At(const QString& line, int index) { return index >= 0 && index < line.size() ? line[index] : QChar(); }

// Whether the character at index belongs to a number running through it:
// an alphanumeric, a separator between two digits, or an exponent's sign
// between "E" (after a digit) and a digit.
bool JoinsNumber(const QString& line, int index) {
    const QChar c = At(line, index);
    if (IsAlphanumeric(c)) return true;
    if (IsSeparator(c)) return IsDigit(At(line, index - 1)) && IsDigit(At(line, index + 1));
    if (IsSign(c))
        return IsExponentMark(At(line, index - 1)) && IsDigit(At(line, index - 2)) && IsDigit(At(line, index + 1));
    return false;
}

// A sign directly before the number counts when nothing that could be its
// left operand comes before it.
bool IsLeadingSign(const QString& line, int index) {
    if (!IsSign(At(line, index))) return false;
    const QChar before = At(line, index - 1);
    return !IsAlphanumeric(before) && before != QLatin1Char(')') && before != QLatin1Char('.') &&
           before != QLatin1Char('"');
}

bool IsRadixAmpersand(const QString& line, int index) {
    if (At(line, index) != QLatin1Char('&')) return false;
    const QChar letter = At(line, index + 1).toUpper();
    return letter == QLatin1Char('H') || letter == QLatin1Char('O');
}

}  // namespace

TTextSpan NumberSpanAt(const QString& line, int column) {
    int start = JoinsNumber(line, column) ? column : column - 1;
    if (!JoinsNumber(line, start)) return {};
    int end = start;
    while (JoinsNumber(line, start - 1)) --start;
    while (JoinsNumber(line, end + 1)) ++end;
    const bool radixAmpersand = IsRadixAmpersand(line, start - 1);
    if (!IsDigit(line[start]) && !radixAmpersand) return {};
    if (radixAmpersand) --start;
    else if (IsLeadingSign(line, start - 1)) --start;
    return {start, end - start + 1};
}

}  // namespace quenmark
