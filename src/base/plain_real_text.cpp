#include "base/plain_real_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace quenmark {

namespace {

// Significant digits of the plain form.
constexpr int PlainDigits = 15;

// Writes "0.000ddd" for a mantissa "d.ddd" (sign already removed) and a
// negative decimal exponent.
std::string FixedFromMantissa(std::string_view mantissa, int exponent) {
    std::string digits;
    for (char c : mantissa)
        if (c != '.') digits += c;
    return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
}

// Applies the exponent-form rules to the output of %.15G: fixed form for a
// small number that fits in 15 decimals, capital "E" otherwise.
std::string PlainFromGeneral(std::string text) {
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    const bool negative = text[0] == '-';
    const std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    const int exponent = std::stoi(text.substr(e + 1));
    if (exponent < 0) {
        int digitCount = 0;
        for (char c : mantissa)
            if (c != '.') ++digitCount;
        if (-exponent + digitCount - 1 <= PlainDigits)
            return (negative ? "-" : "") + FixedFromMantissa(mantissa, exponent);
    }
    text[e] = 'E';
    return text;
}

// The output of "%.15G" in lower case ("1e+15"); NaN and infinity are left
// to the callers.
std::string FifteenDigitGeneral(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, PlainDigits);
    return std::string(buffer, result.ptr);
}

// "e+15" becomes "E15" and "e-05" becomes "E-5".
std::string ShortExponent(std::string text) {
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    const bool negative = text[e + 1] == '-';
    size_t digits = e + 2;
    while (digits + 1 < text.size() && text[digits] == '0') ++digits;
    return text.substr(0, e) + (negative ? "E-" : "E") + text.substr(digits);
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string PlainRealText(double value) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    std::string text = PlainFromGeneral(FifteenDigitGeneral(value));
    return text == "-0" ? "0" : text;
}

std::string GeneralRealText(double value) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    std::string text = ShortExponent(FifteenDigitGeneral(value));
    return text == "-0" ? "0" : text;
}

}  // namespace quenmark
