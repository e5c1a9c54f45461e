// The conversion of the unit window's typed text between two units of a
// group, and the text shown for it.
#include "app/unit_conversion.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "base/context.h"
#include "definitions/unit_group.h"
#include "expression/interpreter.h"

namespace quenmark {
namespace {

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
    const TCCContext context;
    TCCInterpreter calculator(context);
    EXPECT_EQ(ConvertUnitText(calculator, group.get(), GetParam().source, GetParam().from, GetParam().to),
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
                      ConversionRow{"IdentifierAfterTheNumberIsNoExpression", "12 abc", "km", "m", "---"},
                      ConversionRow{"AnIncompleteExpression", "2*", "km", "m", "---"},
                      ConversionRow{"AnExpressionIsWorkedOut", "2*3", "km", "m", "6000"},
                      ConversionRow{"AnExpressionWithParentheses", "(1+2)/4", "km", "m", "750"},
                      ConversionRow{"AnUnclosedParenthesis", "(1+2", "km", "m", "---"},
                      ConversionRow{"ADivisionByZero", "1/0", "km", "m", "---"},
                      ConversionRow{"ACommand", "@HEX", "km", "m", "---"},
                      ConversionRow{"EmptyText", "", "km", "m", "---"},
                      ConversionRow{"OnlyBlanks", "   ", "km", "m", "---"},
                      ConversionRow{"TextBeginningWithALetter", "abc", "km", "m", "---"},
                      ConversionRow{"RejectedCharacterAfterTheNumber", "12 $", "km", "m", "---"},
                      ConversionRow{"RejectedCharacterFirst", "$12", "km", "m", "---"},
                      ConversionRow{"ANegativeNumber", "-3", "km", "m", "-3000"},
                      ConversionRow{"StringLiteral", "\"12\"", "km", "m", "---"},
                      ConversionRow{"UnclosedString", "\"12", "km", "m", "---"},
                      ConversionRow{"UnknownSourceUnit", "1", "mile", "m", "---"},
                      ConversionRow{"UnknownTargetUnit", "1", "m", "mile", "---"},
                      ConversionRow{"ZeroFactorTarget", "1", "m", "none", "---"},
                      ConversionRow{"ZeroFactorSourceGivesZero", "1", "none", "m", "0"},
                      ConversionRow{"Overflow", "1e300", "huge", "m", "---"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ConvertUnitTextGroupTest, WithoutAGroupEveryConversionFails) {
    const TCCContext context;
    TCCInterpreter calculator(context);
    EXPECT_EQ(ConvertUnitText(calculator, nullptr, "3", "km", "mm"), ConversionFailedText);
}

TEST(ConvertUnitTextGroupTest, AFailedTextLeavesTheCalculatorReadyForTheNext) {
    const std::unique_ptr<TCCUnitGroup> group = LengthGroup();
    const TCCContext context;
    TCCInterpreter calculator(context);
    EXPECT_EQ(ConvertUnitText(calculator, group.get(), "$", "km", "m"), "---");
    EXPECT_EQ(ConvertUnitText(calculator, group.get(), "2", "km", "m"), "2000");
    EXPECT_TRUE(calculator.OutputLines().empty());
}

TEST(ConvertUnitTextGroupTest, WritesTheDecimalSeparatorOfTheCalculatorsContext) {
    const std::unique_ptr<TCCUnitGroup> group = LengthGroup();
    const TCCContext context(NumberSeparators{",", "."});
    TCCInterpreter calculator(context);
    EXPECT_EQ(ConvertUnitText(calculator, group.get(), "1.5", "m", "km"), "0,0015");
}

}  // namespace
}  // namespace quenmark

namespace quenmark {
namespace {

// The unit window converts a unit with an offset through the base unit.
TEST(ConvertUnitTextOffsetTest, TemperaturesConvertThroughTheirOffsets) {
    TCCUnitGroup group("Temperature");
    group.SetBaseUnit(std::make_unique<TCCUnit>("K", 1));
    group.Add(std::make_unique<TCCUnit>("C", 1, 273.15));
    group.Add(std::make_unique<TCCUnit>("F", 5.0 / 9, 459.67 * 5 / 9));
    const TCCContext context;
    TCCInterpreter calculator(context);
    EXPECT_EQ(ConvertUnitText(calculator, &group, "100", "C", "F"), "212");
    EXPECT_EQ(ConvertUnitText(calculator, &group, "0", "K", "C"), "-273.15");
    EXPECT_EQ(ConvertUnitText(calculator, &group, "32", "F", "K"), "273.15");
    EXPECT_EQ(ConvertUnitText(calculator, &group, "-40", "C", "F"), "-40");
}

}  // namespace
}  // namespace quenmark
