#include "expression/number_mask.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace quenmark {
namespace {

const NumberSeparators PointDecimals{".", ","};
const NumberSeparators CommaDecimals{",", "."};

// One mask case with its expected text under both separator conventions.
struct MaskCase {
    const char* name;
    const char* mask;
    double value;
    const char* withPointDecimals;
    const char* withCommaDecimals;
};

// Failures name the row instead of dumping its bytes.
void PrintTo(const MaskCase& row, std::ostream* out) { *out << row.name; }

class NumberMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(NumberMaskTest, WritesValueThroughMask) {
    const MaskCase& row = GetParam();
    EXPECT_EQ(ApplyNumberMask(row.value, row.mask, PointDecimals), row.withPointDecimals)
        << "mask " << row.mask;
    EXPECT_EQ(ApplyNumberMask(row.value, row.mask, CommaDecimals), row.withCommaDecimals)
        << "mask " << row.mask;
}

const MaskCase DigitPositionCases[] = {
    {"ThousandsWithOptionalDecimals", "#,##0.###", 1234567.891234, "1,234,567.891", "1.234.567,891"},
    {"ZeroPositionsPadDecimals", "0.00", 3.5, "3.50", "3,50"},
    {"AllIntegerDigitsWritten", "0", 123456, "123456", "123456"},
    {"ZeroPositionsPadInteger", "000", 7, "007", "007"},
    {"LeftmostZeroSetsMinimumDigits", "0##", 7, "007", "007"},
    {"HashIntegerOmitsZero", "#.##", 0.5, ".5", ",5"},
    {"ZeroIntegerPositionKeepsZero", "0.##", 0.5, "0.5", "0,5"},
    {"TrailingHashDecimalsDropped", "0.0##", 1.5, "1.5", "1,5"},
    {"SeparatorDroppedWithLastDecimal", "0.###", 2, "2", "2"},
    {"ZeroDecimalPositionKept", "0.0#", 1.0, "1.0", "1,0"},
    {"OptionalDecimalWrittenWhenSignificant", "0.0#", 1.25, "1.25", "1,25"},
    {"NumberNeverWrittenWithoutDigit", "#.##", 0.001, "0", "0"},
    {"ZeroThroughHashOnly", "#", 0, "0", "0"},
    {"MoreDecimalsThanValueHas", "0.0000000000", 0.1, "0.1000000000", "0,1000000000"},
    {"LiteralBetweenDigits", "00-00", 1234, "12-34", "12-34"},
    {"SecondPointIsLiteral", "0.0.0", 1.25, "1.2.5", "1,2.5"},
    {"SectionWithoutDigitPositionIsText", "'n/a'", 42, "n/a", "n/a"},
    {"EighteenIntegerDigitsMasked", "0", 123456789012345678.0, "123456789012345680", "123456789012345680"},
};
INSTANTIATE_TEST_SUITE_P(DigitPositions, NumberMaskTest, ::testing::ValuesIn(DigitPositionCases),
                         [](const auto& row) { return std::string(row.param.name); });

const MaskCase RoundingCases[] = {
    {"HalfAwayFromZero", "0", 2.5, "3", "3"},
    {"HalfAwayFromZeroOdd", "0", 3.5, "4", "4"},
    {"HalfAwayFromZeroNegative", "0.0", -0.25, "-0.3", "-0,3"},
    {"RoundsAsTyped", "0.00", 2.345, "2.35", "2,35"},
    {"RoundsBelowHalfDown", "0.00", 2.344999, "2.34", "2,34"},
    {"CarryIntoDecimals", "##0.00", 0.125, "0.13", "0,13"},
    {"CarryAddsIntegerDigit", "0.00", 9.999, "10.00", "10,00"},
    {"CarryAddsThousandsGroup", "#,##0", 999.5, "1,000", "1.000"},
    {"NegativeRoundingToZeroHasNoMinus", "0.0", -0.04, "0.0", "0,0"},
    {"NegativeZeroHasNoMinus", "0.0", -0.0, "0.0", "0,0"},
    {"SmallValueRoundsToZero", "0.00", 0.001, "0.00", "0,00"},
};
INSTANTIATE_TEST_SUITE_P(Rounding, NumberMaskTest, ::testing::ValuesIn(RoundingCases),
                         [](const auto& row) { return std::string(row.param.name); });

const MaskCase GroupingAndTextCases[] = {
    {"NoSeparatorBelowThousand", "#,##0", 999, "999", "999"},
    {"SeparatorAtThousand", "#,##0", 1000, "1,000", "1.000"},
    {"NegativeGroupedWithMinus", "#,##0", -1234567, "-1,234,567", "-1.234.567"},
    {"CommaAtEndSwitchesGrouping", "0.00,", 1234.5, "1,234.50", "1.234,50"},
    {"GroupsBeyondMaskPositions", "#,#", 1234567, "1,234,567", "1.234.567"},
    {"GroupingKeepsSmallFraction", "#,##0.00", 0.5, "0.50", "0,50"},
    {"SingleQuotedTextCopied", "0.0 'kg'", 2.25, "2.3 kg", "2,3 kg"},
    {"DoubleQuotedTextCopied", "\"Total: \"#,##0", 1234, "Total: 1,234", "Total: 1.234"},
    {"QuotedMaskCharactersNotInterpreted", "0 '1,000.5'", 5, "5 1,000.5", "5 1,000.5"},
    {"QuotedSemicolonSplitsNothing", "0';'", -5, "-5;", "-5;"},
    {"UnterminatedQuoteRunsToEnd", "0 'abc", 5, "5 abc", "5 abc"},
    {"OtherCharactersCopied", "$#,##0.00", 1234.5, "$1,234.50", "$1.234,50"},
    {"MinusPrecedesLeadingText", "$#,##0.00", -1234.5, "-$1,234.50", "-$1.234,50"},
    {"PercentIsPlainCharacter", "0.0%", 12.34, "12.3%", "12,3%"},
    {"ELetterWithoutSignIsLiteral", "0.0 Eur", 2, "2.0 Eur", "2,0 Eur"},
};
INSTANTIATE_TEST_SUITE_P(GroupingAndText, NumberMaskTest, ::testing::ValuesIn(GroupingAndTextCases),
                         [](const auto& row) { return std::string(row.param.name); });

const MaskCase ScientificCases[] = {
    {"MenuMask", "0.0#############E+", 12345, "1.2345E+4", "1,2345E+4"},
    {"MenuMaskSmallValue", "0.0#############E+", 0.000123, "1.23E-4", "1,23E-4"},
    {"MenuMaskOne", "0.0#############E+", 1, "1.0E+0", "1,0E+0"},
    {"MenuMaskFifteenDigits", "0.0#############E+", 1.0 / 3.0, "3.33333333333333E-1", "3,33333333333333E-1"},
    {"MinimumExponentDigits", "0.00E+00", 12345, "1.23E+04", "1,23E+04"},
    {"MinusWritesNoPlus", "0.00E-00", 12345, "1.23E04", "1,23E04"},
    {"MinusWritesNegativeSign", "0.00E-00", 0.00012345, "1.23E-04", "1,23E-04"},
    {"LowerCaseLetterKept", "0.00e+0", 0.00012345, "1.23e-4", "1,23e-4"},
    {"FourExponentDigits", "0.0E+0000", 1e100, "1.0E+0100", "1,0E+0100"},
    {"AtMostFourExponentDigits", "0E+000000", 5e7, "5E+0007", "5E+0007"},
    {"MantissaCarryRaisesExponent", "0.0E+0", 9.96, "1.0E+1", "1,0E+1"},
    {"ZeroHasZeroExponent", "0.00E+00", 0, "0.00E+00", "0,00E+00"},
    {"NegativeMantissa", "0.0E+0", -12345, "-1.2E+4", "-1,2E+4"},
    {"TwoIntegerPositions", "00.0E+0", 12345, "12.3E+3", "12,3E+3"},
    {"NoIntegerPosition", ".00E+0", 12345, ".12E+5", ",12E+5"},
    {"DigitsAfterExponentAreText", "0E+0 #", 5, "5E+0 #", "5E+0 #"},
    {"ExponentWithoutDigitPositionKeepsTheMinus", "E+0", -1, "-E+0", "-E+0"},
    {"TextOnlyMaskKeepsTheMinus", "'value'", -1, "-value", "-value"},
};
INSTANTIATE_TEST_SUITE_P(Scientific, NumberMaskTest, ::testing::ValuesIn(ScientificCases),
                         [](const auto& row) { return std::string(row.param.name); });

const MaskCase SectionCases[] = {
    {"PositiveUsesFirst", "0.00;(0.00)", 3.5, "3.50", "3,50"},
    {"NegativeUsesSecondWithoutMinus", "0.00;(0.00)", -3.5, "(3.50)", "(3,50)"},
    {"ZeroUsesThird", "0;(0);'zero'", 0, "zero", "zero"},
    {"NegativeRoundingToZeroUsesThird", "0.0;(0.0);'zero'", -0.04, "zero", "zero"},
    {"PositiveRoundingToZeroUsesThird", "0;;'zero'", 0.4, "zero", "zero"},
    {"RoundingToZeroWithoutThirdUsesFirst", "0.0;(0.0)", -0.04, "0.0", "0,0"},
    {"EmptyNegativeMeansFirst", "0.0;;'zero'", -2, "-2.0", "-2,0"},
    {"EmptyZeroMeansFirst", "0.0;(0.0);", 0, "0.0", "0,0"},
    {"NegativeSectionKeepsExponentSign", "0.0E+0;(0.0E+0)", -0.00012, "(1.2E-4)", "(1,2E-4)"},
    {"TextOnlyNegativeSection", "0;'debit'", -3, "debit", "debit"},
    {"FourthSectionIgnored", "0;(0);'zero';'other'", 0, "zero", "zero"},
};
INSTANTIATE_TEST_SUITE_P(Sections, NumberMaskTest, ::testing::ValuesIn(SectionCases),
                         [](const auto& row) { return std::string(row.param.name); });

const MaskCase PlainFormCases[] = {
    {"EmptyMask", "", 1.5, "1.5", "1,5"},
    {"EmptyFirstSection", ";(0)", -1.5, "-1.5", "-1,5"},
    {"NineteenIntegerDigits", "#,##0", 1e19, "1E+19", "1E+19"},
    {"RoundingToNineteenDigits", "0", 999999999999999999.0, "1E+18", "1E+18"},
    {"Infinity", "0.00", std::numeric_limits<double>::infinity(), "INF", "INF"},
    {"NotANumber", "0.00", std::numeric_limits<double>::quiet_NaN(), "NAN", "NAN"},
};
INSTANTIATE_TEST_SUITE_P(PlainForm, NumberMaskTest, ::testing::ValuesIn(PlainFormCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(NumberMaskSeparatorsTest, MultiByteSeparatorsWrittenWhole) {
    const NumberSeparators narrowSpace{",", "\u202f"};
    EXPECT_EQ(ApplyNumberMask(1234567.5, "#,##0.00", narrowSpace), "1\u202f234\u202f567,50");
}

}  // namespace
}  // namespace quenmark
