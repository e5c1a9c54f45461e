#include "expression/result_format.h"

#include <cmath>
#include <cstdint>

#include "expression/number_mask.h"
#include "expression/string_tokenizer.h"
#include "base/exception.h"

namespace quenmark {

namespace {

constexpr double LowestPattern = -2147483648.0;
constexpr double HighestPattern = 4294967295.0;

// Widest digit fields of a 32-bit pattern; the octal one holds all digits of
// patterns below 2^30, larger ones get an eleventh.
static_assert(TCCStringTokenizer::MaxHexDigits == 8);
static_assert(TCCStringTokenizer::MaxBinDigits == 32);
constexpr int OctalFieldDigits = TCCStringTokenizer::MaxOctDigits;

[[noreturn]] void ThrowNotRoundable(const TCCContext& context) { throw EINError(context.GetText("INT070")); }

// Round to nearest, ties to the even neighbour, whatever the floating-point
// environment's rounding mode.
double RoundHalfToEven(double value) {
    const double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) != 0.5) return rounded;
    return 2.0 * std::round(value / 2.0);
}

// The value rounded to an integer and read as a 32-bit pattern.
uint32_t RadixPattern(const Variant& value, const TCCContext& context) {
    double real = 0;
    try {
        real = value.ToReal(context.Separators());
    } catch (const Exception&) {
        ThrowNotRoundable(context);
    }
    if (!std::isfinite(real)) ThrowNotRoundable(context);
    const double rounded = RoundHalfToEven(real);
    if (rounded < LowestPattern || rounded > HighestPattern) ThrowNotRoundable(context);
    return static_cast<uint32_t>(static_cast<int64_t>(rounded));
}

// The digits of a pattern in a power-of-two base, without leading zeros,
// left-padded with zeros to a multiple of `group` digits and at least
// `minimum` digits.
std::string RadixDigits(uint32_t pattern, unsigned bitsPerDigit, size_t group, size_t minimum) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    const uint32_t mask = (1u << bitsPerDigit) - 1;
    std::string digits;
    for (; pattern != 0; pattern >>= bitsPerDigit) digits.insert(digits.begin(), Digits[pattern & mask]);
    size_t width = (digits.size() + group - 1) / group * group;
    if (width < minimum) width = minimum;
    digits.insert(0, width - digits.size(), '0');
    return digits;
}

}  // namespace

std::string FormatHex(const Variant& value, const TCCContext& context) {
    return "0x" + RadixDigits(RadixPattern(value, context), 4, 2, 2);
}

std::string FormatOct(const Variant& value, const TCCContext& context) {
    return "0" + RadixDigits(RadixPattern(value, context), 3, 1, OctalFieldDigits);
}

std::string FormatBin(const Variant& value, const TCCContext& context) {
    return "0b" + RadixDigits(RadixPattern(value, context), 1, 4, 4);
}

std::string FormatDecimal(const Variant& value, std::string_view mask, const NumberSeparators& separators) {
    switch (value.GetKind()) {
    case Variant::Kind::Integer:
        if (mask.empty()) return std::to_string(value.AsInteger());
        return ApplyNumberMask(value.AsInteger(), mask, separators);
    case Variant::Kind::Real:
        if (mask.empty()) return RealToText(value.AsReal(), separators);
        return ApplyNumberMask(value.AsReal(), mask, separators);
    case Variant::Kind::String:
        if (!mask.empty()) {
            try {
                return ApplyNumberMask(TextToReal(value.AsString(), separators), mask, separators);
            } catch (const Exception&) {
                // Not a number: shown as it is.
            }
        }
        return value.AsString();
    case Variant::Kind::Unassigned: break;
    }
    return mask.empty() ? std::string() : ApplyNumberMask(0.0, mask, separators);
}

namespace {

// Whether the radix form of mode reads back as the value itself. A
// hexadecimal or binary literal is read as a 32-bit two's complement
// pattern, so it holds the whole numbers of a 32-bit integer; an octal
// literal has at most ten digits after its "0", 30 bits.
bool ReadsBackInRadix(const Variant& value, OutputMode mode) {
    double number = 0;
    if (value.IsInteger()) number = value.AsInteger();
    else if (value.IsReal()) number = value.AsReal();
    else return false;
    if (!std::isfinite(number) || std::floor(number) != number) return false;
    if (mode == OutputMode::OCT) return number >= 0 && number < 1073741824.0;
    return number >= -2147483648.0 && number <= 2147483647.0;
}

}  // namespace

std::string PlainResultText(const Variant& value, OutputMode mode, std::string_view mask, const TCCContext& context) {
    if (value.IsString()) return value.AsString();
    if (!value.IsNumber()) return value.ToText(context.Separators());
    if (mode != OutputMode::DEC && ReadsBackInRadix(value, mode)) {
        if (mode == OutputMode::HEX) return FormatHex(value, context);
        if (mode == OutputMode::OCT) return FormatOct(value, context);
        return FormatBin(value, context);
    }
    return FormatDecimal(value, mask, context.Separators());
}

std::string QuotedOrPlainText(const Variant& value, const NumberSeparators& separators) {
    if (value.IsString()) return "\"" + value.AsString() + "\"";
    return value.ToText(separators);
}

}  // namespace quenmark
