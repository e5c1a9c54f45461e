#pragma once

#include <charconv>
#include <string_view>
#include <system_error>

namespace quenmark {

// The one conversion of decimal text to a double, shared by number literals,
// text-to-number conversion, unit-file factors, the unit window's input and
// the text module. Header-only and dependent on nothing but the standard
// library, so that modules include it without linking the core.

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
inline bool ReadDecimalReal(std::string_view text, DecimalReal& result);

// The steps of ReadDecimalReal; not for use elsewhere.
namespace decimal_real_detail {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the decimal syntax itself: from_chars would also take "inf", "nan"
// and hexadecimal floats.
inline bool IsDecimalText(std::string_view text) {
    size_t i = 0;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size() || !IsDigit(text[i])) return false;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    return i == text.size();
}

// Decimal exponent of the leading significant digit of the text, i.e. the
// text lies in [10^m, 10^(m+1)); the exponent part saturates far beyond any
// double so that it cannot overflow.
inline long long LeadingMagnitude(std::string_view text) {
    const size_t e = text.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        bool negative = false;
        for (size_t i = e + 1; i < text.size(); ++i) {
            if (text[i] == '-') negative = true;
            if (!IsDigit(text[i])) continue;
            if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    const std::string_view mantissa = text.substr(0, e);
    const size_t point = mantissa.find('.');
    const long long pointPos = static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
    const size_t first = mantissa.find_first_not_of("0.");
    long long position = static_cast<long long>(first);
    if (point != std::string_view::npos && first > point) --position;  // the point is not a digit position
    return pointPos - position - 1 + exponent;
}

}  // namespace decimal_real_detail

inline bool ReadDecimalReal(std::string_view text, DecimalReal& result) {
    if (!decimal_real_detail::IsDecimalText(text)) return false;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::general);
    if (end != text.data() + text.size()) return false;
    if (error == std::errc()) {
        result = {value, DecimalRange::InRange};
        return true;
    }
    if (error != std::errc::result_out_of_range) return false;
    // Out of range: too large when the leading digit sits at or beyond 10^308.
    result = {0.0, decimal_real_detail::LeadingMagnitude(text) > 0 ? DecimalRange::Overflow : DecimalRange::Underflow};
    return true;
}

}  // namespace quenmark
