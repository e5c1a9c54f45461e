// The general number form of unit-conversion results and module constants.
#include "vm/number_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quenmark {
namespace {

struct NumberRow {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const NumberRow& row, std::ostream* os) { *os << row.name; }
};

class RealToGeneralTextTest : public ::testing::TestWithParam<NumberRow> {};

TEST_P(RealToGeneralTextTest, WritesTheValue) {
    EXPECT_EQ(RealToGeneralText(GetParam().value, NumberSeparators{}), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RealToGeneralTextTest,
    ::testing::Values(NumberRow{"WholeNumberInFullDigits", 3000000, "3000000"},
                      NumberRow{"Zero", 0, "0"},
                      NumberRow{"NegativeZero", -0.0, "0"},
                      NumberRow{"Fraction", 0.5, "0.5"},
                      NumberRow{"NegativeFraction", -2.25, "-2.25"},
                      NumberRow{"FifteenDigitsStayFixed", 123456789012345, "123456789012345"},
                      NumberRow{"AlmostOneE15RoundsToExponentForm", 999999999999999.6, "1E15"},
                      NumberRow{"OneE15", 1e15, "1E15"},
                      NumberRow{"LargeWithMantissa", 1.23e20, "1.23E20"},
                      NumberRow{"HugeExponentHasNoLeadingZeros", 1e100, "1E100"},
                      NumberRow{"NegativeLarge", -4.5e16, "-4.5E16"},
                      NumberRow{"OneTenThousandthWrittenOut", 0.0001, "0.0001"},
                      NumberRow{"BelowOneTenThousandthInExponentForm", 0.00001, "1E-5"},
                      NumberRow{"SmallWithMantissa", 1.5e-7, "1.5E-7"},
                      NumberRow{"FifteenSignificantDigits", 1.0 / 3, "0.333333333333333"},
                      NumberRow{"RoundedToFifteenDigits", 2.0 / 3, "0.666666666666667"},
                      NumberRow{"SumOfTenths", 0.1 + 0.2, "0.3"},
                      NumberRow{"DecimalsAfterIntegerPart", 12345.678, "12345.678"},
                      NumberRow{"MillimetresOfAMile", 1609344, "1609344"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RealToGeneralTextSeparatorTest, UsesTheGivenDecimalSeparator) {
    const NumberSeparators comma{",", "."};
    EXPECT_EQ(RealToGeneralText(0.5, comma), "0,5");
    EXPECT_EQ(RealToGeneralText(1.5e-7, comma), "1,5E-7");
    EXPECT_EQ(RealToGeneralText(1234567.25, comma), "1234567,25");
}

}  // namespace
}  // namespace quenmark
