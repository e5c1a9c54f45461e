#include "ui/unit_window_result_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quenmark {

namespace {

constexpr int SignificantDigits = 15;

// The significant digits (trailing zeros removed, at least one) and the
// decimal exponent of the first digit, after rounding to 15 digits.
struct TDecimalDigits {
    std::string Digits;
    int Exponent = 0;
};

TDecimalDigits RoundedDigits(double magnitude) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                      SignificantDigits - 1);
    const std::string text(buffer, result.ptr);  // d.dddddddddddddde±XX
    const size_t e = text.find('e');
    TDecimalDigits digits;
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.') digits.Digits += text[i];
    digits.Exponent = std::atoi(text.c_str() + e + 1);
    while (digits.Digits.size() > 1 && digits.Digits.back() == '0') digits.Digits.pop_back();
    return digits;
}

std::string FixedForm(const TDecimalDigits& d, const std::string& decimal) {
    const int count = static_cast<int>(d.Digits.size());
    if (d.Exponent < 0) return "0" + decimal + std::string(-d.Exponent - 1, '0') + d.Digits;
    if (count <= d.Exponent + 1) return d.Digits + std::string(d.Exponent + 1 - count, '0');
    return d.Digits.substr(0, d.Exponent + 1) + decimal + d.Digits.substr(d.Exponent + 1);
}

std::string ExponentForm(const TDecimalDigits& d, const std::string& decimal) {
    std::string text = d.Digits.substr(0, 1);
    if (d.Digits.size() > 1) text += decimal + d.Digits.substr(1);
    return text + "E" + std::to_string(d.Exponent);
}

}  // namespace

std::string GeneralNumberText(double value, const NumberSeparators& separators) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    const TDecimalDigits digits = RoundedDigits(std::fabs(value));
    const bool fixed = digits.Exponent >= -4 && digits.Exponent < SignificantDigits;
    const std::string text =
        fixed ? FixedForm(digits, separators.Decimal) : ExponentForm(digits, separators.Decimal);
    return value < 0 ? "-" + text : text;
}

std::string GeneralNumberText(double value) { return GeneralNumberText(value, CurrentSeparators()); }

}  // namespace quenmark
