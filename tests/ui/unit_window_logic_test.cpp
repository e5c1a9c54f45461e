// The unit window's rules that need no window: the general number form of
// a result, the conversion of a typed text and the grip zones.
#include "ui/unit_window_conversion.h"
#include "ui/unit_window_position.h"
#include "ui/unit_window_result_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "definitions/unit_group.h"
#include "expression/string_tokenizer.h"

namespace quenmark {
namespace {

struct NumberRow {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const NumberRow& row, std::ostream* os) { *os << row.name; }
};

class GeneralNumberTextTest : public ::testing::TestWithParam<NumberRow> {};

TEST_P(GeneralNumberTextTest, WritesTheValue) {
    EXPECT_EQ(GeneralNumberText(GetParam().value, NumberSeparators{}), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GeneralNumberTextTest,
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
    [](const auto& info) { return std::string(info.param.name); });

TEST(GeneralNumberTextSeparatorTest, UsesTheGivenDecimalSeparator) {
    const NumberSeparators comma{",", "."};
    EXPECT_EQ(GeneralNumberText(0.5, comma), "0,5");
    EXPECT_EQ(GeneralNumberText(1.5e-7, comma), "1,5E-7");
    EXPECT_EQ(GeneralNumberText(1234567.25, comma), "1234567,25");
}

// A length group: metre base, kilometre, millimetre, and a broken unit with
// factor zero.
std::unique_ptr<TCCUnitGroup> LengthGroup() {
    auto group = std::make_unique<TCCUnitGroup>("Length");
    group->SetBaseUnit(std::make_unique<TCCUnit>("m", 1));
    group->Add(std::make_unique<TCCUnit>("km", 1000));
    group->Add(std::make_unique<TCCUnit>("mm", 0.001));
    group->Add(std::make_unique<TCCUnit>("none", 0));
    group->Add(std::make_unique<TCCUnit>("huge", 1e300));
    return group;
}

struct ConversionRow {
    const char* name;
    const char* source;
    const char* from;
    const char* to;
    const char* shown;
    friend void PrintTo(const ConversionRow& row, std::ostream* os) { *os << row.name; }
};

class ConvertUnitTextTest : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(ConvertUnitTextTest, ShowsTheResultOrDashes) {
    const std::unique_ptr<TCCUnitGroup> group = LengthGroup();
    TCCStringTokenizer tokenizer;
    EXPECT_EQ(ConvertUnitText(tokenizer, group.get(), GetParam().source, GetParam().from, GetParam().to),
              GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConvertUnitTextTest,
    ::testing::Values(ConversionRow{"KilometresToMillimetres", "3", "km", "mm", "3000000"},
                      ConversionRow{"RealNumber", "0.25", "km", "m", "250"},
                      ConversionRow{"ToASmallerResult", "5", "mm", "km", "5E-6"},
                      ConversionRow{"SameUnit", "42", "m", "m", "42"},
                      ConversionRow{"HexadecimalLiteral", "0x10", "km", "m", "16000"},
                      ConversionRow{"BlanksAroundTheNumber", "  7  ", "km", "m", "7000"},
                      ConversionRow{"IdentifierAfterTheNumberIsIgnored", "12 abc", "km", "m", "12000"},
                      ConversionRow{"AnythingAfterTheSecondTokenIsNotRead", "12 abc $", "km", "m", "12000"},
                      ConversionRow{"OperatorAfterTheNumberIsIgnored", "2+3", "km", "m", "2000"},
                      ConversionRow{"EmptyText", "", "km", "m", "---"},
                      ConversionRow{"OnlyBlanks", "   ", "km", "m", "---"},
                      ConversionRow{"TextBeginningWithALetter", "abc", "km", "m", "---"},
                      ConversionRow{"RejectedCharacterAfterTheNumber", "12 $", "km", "m", "---"},
                      ConversionRow{"RejectedCharacterFirst", "$12", "km", "m", "---"},
                      ConversionRow{"LeadingMinusIsAnOperator", "-3", "km", "m", "---"},
                      ConversionRow{"StringLiteral", "\"12\"", "km", "m", "---"},
                      ConversionRow{"UnclosedString", "\"12", "km", "m", "---"},
                      ConversionRow{"UnknownSourceUnit", "1", "mile", "m", "---"},
                      ConversionRow{"UnknownTargetUnit", "1", "m", "mile", "---"},
                      ConversionRow{"ZeroFactorTarget", "1", "m", "none", "---"},
                      ConversionRow{"ZeroFactorSourceGivesZero", "1", "none", "m", "0"},
                      ConversionRow{"Overflow", "1e300", "huge", "m", "---"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertUnitTextGroupTest, WithoutAGroupEveryConversionFails) {
    TCCStringTokenizer tokenizer;
    EXPECT_EQ(ConvertUnitText(tokenizer, nullptr, "3", "km", "mm"), ConversionFailedText);
}

TEST(ConvertUnitTextGroupTest, ReusesTheTokenizerForEachText) {
    const std::unique_ptr<TCCUnitGroup> group = LengthGroup();
    TCCStringTokenizer tokenizer("@ something left over");
    EXPECT_EQ(ConvertUnitText(tokenizer, group.get(), "$", "km", "m"), "---");
    EXPECT_EQ(ConvertUnitText(tokenizer, group.get(), "2", "km", "m"), "2000");
}

struct GripRow {
    const char* name;
    QPoint position;
    TUnitWindowGrip grip;
    friend void PrintTo(const GripRow& row, std::ostream* os) { *os << row.name; }
};

class UnitWindowGripTest : public ::testing::TestWithParam<GripRow> {};

TEST_P(UnitWindowGripTest, FindsTheZone) {
    EXPECT_EQ(UnitWindowGripAt(GetParam().position, QSize(300, 60)), GetParam().grip);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, UnitWindowGripTest,
    ::testing::Values(GripRow{"LeftBorder", {0, 30}, TUnitWindowGrip::LeftEdge},
                      GripRow{"LeftBorderInnerPixel", {3, 30}, TUnitWindowGrip::LeftEdge},
                      GripRow{"LeftBorderInTheTitleRow", {2, 5}, TUnitWindowGrip::LeftEdge},
                      GripRow{"RightBorder", {297, 30}, TUnitWindowGrip::RightEdge},
                      GripRow{"RightmostPixel", {299, 59}, TUnitWindowGrip::RightEdge},
                      GripRow{"TitleStrip", {150, 0}, TUnitWindowGrip::Caption},
                      GripRow{"LastTitleRow", {150, 17}, TUnitWindowGrip::Caption},
                      GripRow{"BelowTheTitle", {150, 18}, TUnitWindowGrip::None},
                      GripRow{"BottomEdgeDoesNotSize", {150, 59}, TUnitWindowGrip::None},
                      GripRow{"JustInsideTheLeftBorder", {4, 30}, TUnitWindowGrip::None},
                      GripRow{"JustInsideTheRightBorder", {296, 30}, TUnitWindowGrip::None}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenmark
