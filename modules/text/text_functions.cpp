#include "text_functions.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "platform/locale_numeric.h"
#include "text_characters.h"
#include "base/decimal_real.h"
#include "base/plain_real_text.h"

namespace textmodule {

namespace {

// The result text lives here until the next call; the program copies it
// as soon as the call returns.
std::string ResultText;

std::string_view StringOf(const VMXValue& value) {
    if (value.StrLength <= 0 || !value.StrValue) return {};
    const size_t limit = static_cast<size_t>(value.StrLength);
    const void* zero = std::memchr(value.StrValue, 0, limit);
    return {value.StrValue, zero ? static_cast<size_t>(static_cast<const char*>(zero) - value.StrValue) : limit};
}

int32_t SetInteger(VMXValue* result, int32_t value) {
    result->ValueType = vmxInteger;
    result->IntValue = value;
    return vmxSuccess;
}

// A count or position argument: a whole number, not negative.
int32_t CountArgument(const VMXValue& value, size_t& count) {
    double number = 0;
    if (value.ValueType == vmxInteger) number = value.IntValue;
    else if (value.ValueType == vmxReal) number = value.RealValue;
    else return textWrongType;
    if (number != std::trunc(number)) return textNotWhole;
    if (number < 0) return textOutsideDomain;
    count = number > 1e9 ? static_cast<size_t>(1e9) : static_cast<size_t>(number);
    return vmxSuccess;
}

// The decimal separator of the user's LC_NUMERIC locale, read once, as the
// calculator reads it.
const std::string& DecimalSeparator() {
    static const std::string separator = quenmark::ReadLocaleSeparators().Decimal;
    return separator;
}

// The calculator's plain form, with its decimal separator.
std::string RealText(double value) {
    std::string text = quenmark::PlainRealText(value);
    if (const size_t point = text.find('.'); point != std::string::npos) text.replace(point, 1, DecimalSeparator());
    return text;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string ValueText(const VMXValue& value) {
    switch (value.ValueType) {
    case vmxInteger: return std::to_string(value.IntValue);
    case vmxReal: return RealText(value.RealValue);
    default: return std::string(StringOf(value));
    }
}

int32_t SetText(VMXValue* result, std::string text) {
    ResultText = std::move(text);
    result->ValueType = vmxString;
    result->StrValue = ResultText.data();
    result->StrLength = static_cast<int32_t>(ResultText.size());
    result->StrSize = static_cast<int32_t>(ResultText.size() + 1);
    return vmxSuccess;
}

int32_t Len(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    return SetInteger(result, static_cast<int32_t>(CharacterCount(StringOf(args[0]))));
}

int32_t Upper(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    return SetText(result, ToUpperCase(StringOf(args[0])));
}

int32_t Lower(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    return SetText(result, ToLowerCase(StringOf(args[0])));
}

int32_t Left(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    size_t count = 0;
    if (const int32_t status = CountArgument(args[1], count); status != vmxSuccess) return status;
    return SetText(result, std::string(CharacterSlice(StringOf(args[0]), 0, count)));
}

int32_t Right(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    size_t count = 0;
    if (const int32_t status = CountArgument(args[1], count); status != vmxSuccess) return status;
    return SetText(result, std::string(LastCharacters(StringOf(args[0]), count)));
}

int32_t Mid(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    size_t start = 0;
    size_t count = 0;
    if (const int32_t status = CountArgument(args[1], start); status != vmxSuccess) return status;
    if (const int32_t status = CountArgument(args[2], count); status != vmxSuccess) return status;
    if (start < 1) return textOutsideDomain;
    return SetText(result, std::string(CharacterSlice(StringOf(args[0]), start - 1, count)));
}

int32_t Str(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxInteger && args[0].ValueType != vmxReal) return textWrongType;
    return SetText(result, ValueText(args[0]));
}

// A whole number that fits in 32 bits gives an Integer; any other number a
// Real, by the program's one decimal conversion. Below the double range it
// reads as 0.
int32_t Val(const VMXValue* args, VMXValue* result) {
    if (args[0].ValueType != vmxString) return textWrongType;
    std::string_view text = Trimmed(StringOf(args[0]));
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    // The calculator's own decimal separator reads as ".", so that VAL
    // reads back what STR writes in every locale.
    std::string withPoint;
    const std::string& separator = DecimalSeparator();
    if (const size_t at = text.find(separator); separator != "." && at != std::string_view::npos) {
        withPoint.assign(text);
        withPoint.replace(at, separator.size(), ".");
        text = withPoint;
    }
    int32_t whole = 0;
    const char* last = text.data() + text.size();
    if (auto [end, error] = std::from_chars(text.data(), last, whole); error == std::errc() && end == last)
        return SetInteger(result, whole);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    quenmark::DecimalReal real;
    if (!quenmark::ReadDecimalReal(text, real)) return textOutsideDomain;
    if (real.Range == quenmark::DecimalRange::Overflow) return textOutOfRange;
    result->ValueType = vmxReal;
    result->RealValue = negative ? -real.Value : real.Value;
    return vmxSuccess;
}

}  // namespace textmodule
