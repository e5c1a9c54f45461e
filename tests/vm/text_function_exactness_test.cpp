// The functions of text.vmx are exact: on ASCII texts, where every byte is a
// character, lengths, letter cases and substrings equal what the standard
// library gives (tests/modules/text_characters_test.cpp covers the wider
// characters), STR writes the calculator's display
// form, which reads back as the value rounded to 15 significant digits, VAL
// reads the double nearest to its text, and PRINT passes its argument on.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <random>
#include <string>
#include <vector>

#include "platform/locale_numeric.h"
#include "shipped_library.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

VMXValue StringRecord(std::string& text) {
    VMXValue record{};
    record.ValueType = vmxString;
    record.StrValue = text.data();
    record.StrLength = static_cast<int32_t>(text.size());
    record.StrSize = static_cast<int32_t>(text.size() + 1);
    return record;
}

std::string TextOf(const VMXValue& result) {
    return std::string(result.StrValue, static_cast<std::size_t>(result.StrLength));
}

std::vector<std::string> AsciiTexts() {
    std::string printable;
    for (char c = ' '; c <= '~'; ++c) printable += c;
    std::string long_text;
    for (int i = 0; i < 300; ++i) long_text += static_cast<char>('A' + i % 58);
    return {"", "a", "Z", "Hello, World!", "tab\there", "1234567890", printable, long_text};
}

// Doubles of every magnitude: random bit patterns, and the values the plain
// form treats specially.
std::vector<double> SampleReals() {
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 0.5, 1e-7, -1e-5, 1e-4, 1.5e-16, 5.6789e-12,
                                  0.1 + 0.2, 1.0 / 3, 2.0 / 3, 1e15, 123456789012345.0, 999999999999999.6,
                                  1e20, 5e-324, DBL_MIN, DBL_MAX, -DBL_MAX, 2147483648.0, 0.000123456789012345};
    std::mt19937_64 bits(20240515);
    while (values.size() < 400) {
        double value;
        const uint64_t pattern = bits();
        std::memcpy(&value, &pattern, sizeof value);
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

std::string Formatted(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

class TextFunctionExactnessTest : public ::testing::Test {
protected:
    std::string Call(const char* name, std::vector<VMXValue> args) const {
        VMXValue result;
        EXPECT_EQ(text.Call(name, std::move(args), result), vmxSuccess) << name;
        return result.ValueType == vmxString ? TextOf(result) : std::string("(not a string)");
    }
    VMXValue Val(std::string input) const {
        VMXValue result;
        EXPECT_EQ(text.Call("VAL", {StringRecord(input)}, result), vmxSuccess) << input;
        return result;
    }

    const testing::ShippedLibrary text{"text.vmx"};
};

TEST_F(TextFunctionExactnessTest, LengthsAndLetterCasesAreExact) {
    ASSERT_TRUE(text.IsOpen());
    for (std::string sample : AsciiTexts()) {
        std::string upper = sample, lower = sample;
        for (char& c : upper) c = std::toupper(c, std::locale::classic());
        for (char& c : lower) c = std::tolower(c, std::locale::classic());
        VMXValue length;
        ASSERT_EQ(text.Call("LEN", {StringRecord(sample)}, length), vmxSuccess);
        EXPECT_EQ(testing::NumberOf(length), static_cast<double>(sample.size())) << sample;
        EXPECT_EQ(Call("UPPER", {StringRecord(sample)}), upper);
        EXPECT_EQ(Call("LOWER", {StringRecord(sample)}), lower);
    }
}

TEST_F(TextFunctionExactnessTest, SubstringsAreExact) {
    ASSERT_TRUE(text.IsOpen());
    for (std::string sample : AsciiTexts()) {
        const size_t size = sample.size();
        for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size / 2, size, size + 1, size_t{1000000000}}) {
            const auto count = testing::RealRecord(static_cast<double>(n));
            EXPECT_EQ(Call("LEFT", {StringRecord(sample), count}), sample.substr(0, n));
            EXPECT_EQ(Call("RIGHT", {StringRecord(sample), count}), sample.substr(size - std::min(n, size)));
            for (size_t start : {size_t{1}, size_t{2}, size, size + 1, size + 5}) {
                if (start == 0) continue;  // positions start at 1
                const std::string expected = start > size ? "" : sample.substr(start - 1, n);
                const auto from = testing::IntegerRecord(static_cast<int32_t>(start));
                EXPECT_EQ(Call("MID", {StringRecord(sample), from, count}), expected) << sample << start << n;
            }
        }
    }
}

TEST_F(TextFunctionExactnessTest, StrWritesTheDisplayForm) {
    ASSERT_TRUE(text.IsOpen());
    const NumberSeparators locale = ReadLocaleSeparators();
    for (double value : SampleReals()) {
        const std::string written = Call("STR", {testing::RealRecord(value)});
        EXPECT_EQ(written, RealToText(value, locale));
        std::string pointed = written;
        if (const size_t at = pointed.find(locale.Decimal); at != std::string::npos)
            pointed.replace(at, locale.Decimal.size(), ".");
        const double fifteenDigits = std::strtod(Formatted("%.14e", value).c_str(), nullptr);
        EXPECT_EQ(std::strtod(pointed.c_str(), nullptr), fifteenDigits) << written;
    }
    for (int32_t whole : {0, 7, -7, INT32_MAX, INT32_MIN})
        EXPECT_EQ(Call("STR", {testing::IntegerRecord(whole)}), std::to_string(whole));
}

TEST_F(TextFunctionExactnessTest, ValReadsTheNearestDouble) {
    ASSERT_TRUE(text.IsOpen());
    for (double value : SampleReals()) {
        const VMXValue result = Val(Formatted("%.17g", value));
        EXPECT_EQ(testing::NumberOf(result), value) << Formatted("%.17g", value);
    }
    // Texts of up to 40 digits and exponents across the double range.
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        std::string number = i % 3 == 0 ? "-" : "";
        const std::size_t digits = 1 + random() % 40;
        for (std::size_t d = 0; d < digits; ++d) number += static_cast<char>('0' + random() % 10);
        number.insert(number.size() - random() % digits, ".");
        number += "e" + std::to_string(static_cast<int>(random() % (638 - digits)) - 330);
        const VMXValue result = Val(" " + number + " ");
        EXPECT_EQ(result.ValueType, vmxReal) << number;
        EXPECT_EQ(testing::NumberOf(result), std::strtod(number.c_str(), nullptr)) << number;
    }
}

TEST_F(TextFunctionExactnessTest, ValKeepsItsSyntaxAndRanges) {
    ASSERT_TRUE(text.IsOpen());
    struct Reading {
        const char* input;
        int32_t status;
        int32_t type;
        double value;
    };
    for (const Reading& row : {Reading{"+42", vmxSuccess, vmxInteger, 42}, Reading{"-0", vmxSuccess, vmxInteger, 0},
                               Reading{"2147483648", vmxSuccess, vmxReal, 2147483648.0},
                               Reading{"+.5", vmxSuccess, vmxReal, 0.5}, Reading{"-5.", vmxSuccess, vmxReal, -5},
                               Reading{"1e-400", vmxSuccess, vmxReal, 0}, Reading{"1e400", vmxFailure3, 0, 0},
                               Reading{"-1e400", vmxFailure3, 0, 0}, Reading{"+-5", vmxFailure1, 0, 0},
                               Reading{"--5", vmxFailure1, 0, 0}, Reading{"inf", vmxFailure1, 0, 0},
                               Reading{"nan", vmxFailure1, 0, 0}, Reading{"0x10", vmxFailure1, 0, 0},
                               Reading{"1e", vmxFailure1, 0, 0}, Reading{"", vmxFailure1, 0, 0},
                               Reading{"1,5", vmxFailure1, 0, 0}}) {
        std::string input = row.input;
        VMXValue result;
        EXPECT_EQ(text.Call("VAL", {StringRecord(input)}, result), row.status) << row.input;
        if (row.status != vmxSuccess) continue;
        EXPECT_EQ(result.ValueType, row.type) << row.input;
        EXPECT_EQ(testing::NumberOf(result), row.value) << row.input;
    }
}

std::vector<std::string> Printed;

int32_t Capture(const char* text, int32_t length) {
    Printed.emplace_back(text, length);
    return 0;
}

TEST_F(TextFunctionExactnessTest, PrintPassesItsArgumentOn) {
    ASSERT_TRUE(text.IsOpen());
    text.Symbol<VMXSetStdoutProc>("SetStdout")(Capture);
    for (double value : SampleReals()) {
        Printed.clear();
        VMXValue result;
        ASSERT_EQ(text.Call("PRINT", {testing::RealRecord(value)}, result), vmxSuccess);
        EXPECT_EQ(result.ValueType, vmxReal);
        EXPECT_EQ(std::memcmp(&result.RealValue, &value, sizeof value), 0) << value;
        EXPECT_EQ(Printed, std::vector<std::string>{Call("STR", {testing::RealRecord(value)})});
    }
    text.Symbol<VMXSetStdoutProc>("SetStdout")(nullptr);
}

}  // namespace
}  // namespace quenmark
