#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quenmark {

// The plain text of a Real with "." as the decimal point: 15 significant
// digits by the rules of "%.15G" (no trailing zeros, "E" with a sign and at
// least two exponent digits), the fixed form instead of a negative exponent
// when it needs at most 15 decimals, "0" for a negative zero, and "NAN",
// "INF", "-INF". Header-only and dependent on nothing but the standard
// library, so that modules include it and write numbers exactly as the
// calculator shows them without linking the core.
inline std::string PlainRealText(double value);

// The general text of a Real with "." as the decimal point, as the unit
// conversion shows results: the same 15 significant digits and the same
// choice of form as "%.15G" (fixed from 0.0001 up to below 1E15), but the
// exponent is written without "+" and without leading zeros ("1E15",
// "1.5E-7"), "0" for a negative zero, and "NAN", "INF", "-INF".
inline std::string GeneralRealText(double value);

// The text of a finite Real by "%.15g", exactly as the C library writes it
// ("1e+15", "0.1", "-2.5e-07"); the two forms above start from it.
inline std::string FifteenDigitGeneral(double value);

// The steps of the three forms above; not for use elsewhere.
namespace plain_real_text_detail {

// Significant digits of the plain form.
inline constexpr int PlainDigits = 15;

// Writes "0.000ddd" for a mantissa "d.ddd" (sign already removed) and a
// negative decimal exponent.
inline std::string FixedFromMantissa(std::string_view mantissa, int exponent) {
    std::string digits;
    for (char c : mantissa)
        if (c != '.') digits += c;
    return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
}

// Applies the exponent-form rules to the output of %.15G: fixed form for a
// small number that fits in 15 decimals, capital "E" otherwise.
inline std::string PlainFromGeneral(std::string text) {
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

// The powers of ten that extended precision holds exactly: 5^27 < 2^64.
inline constexpr int MaxExactPower = 27;
inline constexpr std::array<long double, MaxExactPower + 1> ExactPowersOfTen = [] {
    std::array<long double, MaxExactPower + 1> powers{};
    long double power = 1;
    for (long double& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// The 15 significant digits of a finite positive magnitude, correctly
// rounded, as an integer in [1e14, 1e15), with the decimal exponent of the
// first digit. The magnitude times an exact power of ten is off by at most
// 2^-64 of itself, under 1e-4 below 1e15, so rounding is decided unless the
// part after the digits lies within 1e-3 of one half. False there, and where
// the power of ten would not be exact: the exact conversion decides those.
inline bool RoundedDigits(double magnitude, uint64_t& digits, int& exponent) {
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    // About log10(2^(e-1)): the decimal exponent, give or take one.
    exponent = ((binaryExponent - 1) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shift = PlainDigits - 1 - exponent;
        if (shift > MaxExactPower || shift < -MaxExactPower) return false;
        const long double scaled = shift >= 0 ? magnitude * ExactPowersOfTen[static_cast<size_t>(shift)]
                                              : magnitude / ExactPowersOfTen[static_cast<size_t>(-shift)];
        if (scaled >= 1e15L || scaled < 1e14L) {
            exponent += scaled >= 1e15L ? 1 : -1;
            continue;
        }
        digits = static_cast<uint64_t>(scaled);
        const long double fraction = scaled - static_cast<long double>(digits);
        if (std::fabs(fraction - 0.5L) < 1e-3L) return false;
        if (fraction > 0.5L) ++digits;
        if (digits == 1000000000000000u) {
            digits /= 10;
            ++exponent;
        }
        return true;
    }
    return false;
}

// Writes the count lowest decimal digits of value, two at a time.
inline void WriteDigits(uint32_t value, char* to, int count) {
    static constexpr char Pairs[] =
        "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
        "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
    for (; count >= 2; count -= 2, value /= 100) std::memcpy(to + count - 2, Pairs + 2 * (value % 100), 2);
    if (count == 1) to[0] = static_cast<char>('0' + value % 10);
}

// "%.15g" from the rounded digits: the fixed form from 1e-4 up to below
// 1e15, else "d.ddde+XX"; no trailing zeros, no point without decimals.
inline std::string GeneralFromDigits(bool negative, uint64_t digits, int exponent) {
    char significant[PlainDigits];
    WriteDigits(static_cast<uint32_t>(digits / 100000000), significant, 7);
    WriteDigits(static_cast<uint32_t>(digits % 100000000), significant + 7, 8);
    int used = PlainDigits;
    while (used > 1 && significant[used - 1] == '0') --used;
    // At most a sign, "0.", three zeros and 15 digits, or a sign, 15
    // digits, a point and "e-324".
    char text[32];
    char* out = text;
    if (negative) *out++ = '-';
    auto put = [&out](const char* from, int count) {
        std::memcpy(out, from, static_cast<size_t>(count));
        out += count;
    };
    if (exponent < -4 || exponent >= PlainDigits) {
        *out++ = significant[0];
        if (used > 1) {
            *out++ = '.';
            put(significant + 1, used - 1);
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int zeros = -exponent - 1; zeros > 0; --zeros) *out++ = '0';
        put(significant, used);
    } else if (used <= exponent + 1) {
        put(significant, used);
        for (int zeros = exponent + 1 - used; zeros > 0; --zeros) *out++ = '0';
    } else {
        put(significant, exponent + 1);
        *out++ = '.';
        put(significant + exponent + 1, used - exponent - 1);
    }
    return std::string(text, out);
}

// "e+15" becomes "E15" and "e-05" becomes "E-5".
inline std::string ShortExponent(std::string text) {
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    const bool negative = text[e + 1] == '-';
    size_t digits = e + 2;
    while (digits + 1 < text.size() && text[digits] == '0') ++digits;
    return text.substr(0, e) + (negative ? "E-" : "E") + text.substr(digits);
}

inline std::string NonFiniteText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace plain_real_text_detail

// Most values take the short way through extended precision; zero, near
// ties and extreme exponents take the exact conversion.
inline std::string FifteenDigitGeneral(double value) {
    uint64_t digits = 0;
    int exponent = 0;
    if (value != 0 && plain_real_text_detail::RoundedDigits(std::fabs(value), digits, exponent))
        return plain_real_text_detail::GeneralFromDigits(std::signbit(value), digits, exponent);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                       plain_real_text_detail::PlainDigits);
    return std::string(buffer, result.ptr);
}

inline std::string PlainRealText(double value) {
    if (!std::isfinite(value)) return plain_real_text_detail::NonFiniteText(value);
    std::string text = plain_real_text_detail::PlainFromGeneral(FifteenDigitGeneral(value));
    return text == "-0" ? "0" : text;
}

inline std::string GeneralRealText(double value) {
    if (!std::isfinite(value)) return plain_real_text_detail::NonFiniteText(value);
    std::string text = plain_real_text_detail::ShortExponent(FifteenDigitGeneral(value));
    return text == "-0" ? "0" : text;
}

}  // namespace quenmark
