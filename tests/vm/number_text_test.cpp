#include "vm/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/context.h"
#include "base/exception.h"

namespace quenmark {
namespace {

const NumberSeparators English{".", ","};
const NumberSeparators German{",", "."};

struct RealTextRow {
    const char* behaviour;
    double value;
    const char* english;
    const char* german;
};

const RealTextRow RealTextRows[] = {
    {"one third keeps 15 digits", 1.0 / 3, "0.333333333333333", "0,333333333333333"},
    {"two thirds rounds the last digit", 2.0 / 3, "0.666666666666667", "0,666666666666667"},
    {"sum error hidden by 15 digits", 0.1 + 0.2, "0.3", "0,3"},
    {"exponent form from 1E15", 1e15, "1E+15", "1E+15"},
    {"15 digit integer stays fixed", 123456789012345.0, "123456789012345", "123456789012345"},
    {"rounding up to the exponent form", 999999999999999.6, "1E+15", "1E+15"},
    {"small number written fixed", 1e-5, "0.00001", "0,00001"},
    {"fixed with 8 decimals", 1.5e-7, "0.00000015", "0,00000015"},
    {"fixed with exactly 15 decimals", 5.6789e-11, "0.000000000056789", "0,000000000056789"},
    {"exponent form beyond 15 decimals", 5.6789e-12, "5.6789E-12", "5,6789E-12"},
    {"long mantissa keeps exponent form", 1.23456789012345e-5, "1.23456789012345E-05",
     "1,23456789012345E-05"},
    {"negative value", -2.5, "-2.5", "-2,5"},
    {"negative zero loses its sign", -0.0, "0", "0"},
    {"large exponent", 1.5e300, "1.5E+300", "1,5E+300"},
    {"whole number", 100.0, "100", "100"},
};

class RealTextTest : public ::testing::TestWithParam<RealTextRow> {};

TEST_P(RealTextTest, FormatsInBothLocales) {
    const RealTextRow& row = GetParam();
    EXPECT_EQ(RealToText(row.value, English), row.english) << row.behaviour;
    EXPECT_EQ(RealToText(row.value, German), row.german) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, RealTextTest, ::testing::ValuesIn(RealTextRows));

struct TextRealRow {
    const char* behaviour;
    const char* text;
    double expected;
};

const TextRealRow AcceptedTexts[] = {
    {"plain integer", "12", 12},
    {"blanks around", "  12  ", 12},
    {"leading plus", "+7", 7},
    {"leading minus", "-7.5", -7.5},
    {"parentheses mean negative", "(3)", -3},
    {"trailing minus", "4-", -4},
    {"trailing plus", "4+", 4},
    {"thousands separators", "1,234,567.5", 1234567.5},
    {"separator positions not checked", "1,2,3", 123},
    {"exponent", "1.5e3", 1500},
    {"signed exponent", "25E-1", 2.5},
    {"leading decimal separator", ".5", 0.5},
    {"trailing decimal separator", "5.", 5},
    {"hexadecimal prefix", "&HFF", 255},
    {"hexadecimal pattern is signed", "&HFFFFFFFF", -1},
    {"octal prefix", "&O17", 15},
    {"below the double range reads as zero", "1e-400", 0},
};

class AcceptedTextTest : public ::testing::TestWithParam<TextRealRow> {};

TEST_P(AcceptedTextTest, ReadsTheNumber) {
    EXPECT_DOUBLE_EQ(TextToReal(GetParam().text, English), GetParam().expected) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, AcceptedTextTest, ::testing::ValuesIn(AcceptedTexts));

class RejectedTextTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RejectedTextTest, FailsWithConversionError) {
    EXPECT_THROW(TextToReal(GetParam(), English), EConvertError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Rows, RejectedTextTest,
                         ::testing::Values("", "   ", "1e", "1e+", "1.2.3", "0x1F", "12abc", "(5", "+5-",
                                           "-", ",5", "abc", "1 2", "&H", "&HG", "&X12"));

TEST(TextToRealTest, ValueBeyondDoubleRangeOverflows) {
    EXPECT_THROW(TextToReal("1e400", English), EOverflow);
    EXPECT_THROW(TextToReal("-123456789e999", English), EOverflow);
}

TEST(TextToRealTest, CommaLocaleSwapsSeparators) {
    EXPECT_DOUBLE_EQ(TextToReal("1.234,5", German), 1234.5);
    EXPECT_THROW(TextToReal("1,2,3", German), EConvertError);
}

struct RoundRow {
    double value;
    int32_t expected;
};

class RoundToIntegerTest : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundToIntegerTest, RoundsHalfToEven) {
    EXPECT_EQ(RoundToInteger(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Rows, RoundToIntegerTest,
                         ::testing::Values(RoundRow{7.5, 8}, RoundRow{6.5, 6}, RoundRow{-2.5, -2},
                                           RoundRow{-3.5, -4}, RoundRow{2.4, 2}, RoundRow{2.6, 3},
                                           RoundRow{2147483647.4, 2147483647},
                                           RoundRow{-2147483648.0, -2147483647 - 1}));

TEST(RoundToIntegerTest, OutOfRangeIsInvalidOperation) {
    EXPECT_THROW(RoundToInteger(2147483647.5), EInvalidOp);
    EXPECT_THROW(RoundToInteger(-2147483649.0), EInvalidOp);
    EXPECT_THROW(RoundToInteger(1e10), EInvalidOp);
    EXPECT_THROW(RoundToInteger(std::numeric_limits<double>::infinity()), EInvalidOp);
    EXPECT_THROW(RoundToInteger(std::nan("")), EInvalidOp);
}

TEST(ContextSeparatorsTest, CanBeReplaced) {
    TCCContext context;
    context.SetSeparators(German);
    EXPECT_EQ(RealToText(0.5, context.Separators()), "0,5");
    EXPECT_DOUBLE_EQ(TextToReal("2,5", context.Separators()), 2.5);
}

}  // namespace
}  // namespace quenmark
