#include "expression/result_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include "base/context.h"
#include "base/exception.h"
#include "expression/interpreter.h"

namespace quenmark {
namespace {

const NumberSeparators PointDecimals{".", ","};
const NumberSeparators CommaDecimals{",", "."};

// The context of the renderers: no messages, so an error is its code.
const TCCContext Plain;

// A value with its text from each radix renderer.
struct RadixCase {
    const char* name;
    Variant value;
    const char* hex;
    const char* oct;
    const char* bin;
};

// Failures name the row instead of dumping its bytes.
void PrintTo(const RadixCase& row, std::ostream* out) { *out << row.name; }

class RadixRendererTest : public ::testing::TestWithParam<RadixCase> {};

TEST_P(RadixRendererTest, WritesPatternInEachRadix) {
    const RadixCase& row = GetParam();
    EXPECT_EQ(FormatHex(row.value, Plain), row.hex);
    EXPECT_EQ(FormatOct(row.value, Plain), row.oct);
    EXPECT_EQ(FormatBin(row.value, Plain), row.bin);
}

const RadixCase RadixCases[] = {
    {"Zero", 0, "0x00", "00000000000", "0b0000"},
    {"One", 1, "0x01", "00000000001", "0b0001"},
    {"Two", 2, "0x02", "00000000002", "0b0010"},
    {"Five", 5, "0x05", "00000000005", "0b0101"},
    {"Eight", 8, "0x08", "00000000010", "0b1000"},
    {"Fifteen", 15, "0x0F", "00000000017", "0b1111"},
    {"Sixteen", 16, "0x10", "00000000020", "0b00010000"},
    {"Nineteen", 19, "0x13", "00000000023", "0b00010011"},
    {"ByteMaximum", 255, "0xFF", "00000000377", "0b11111111"},
    {"NineBits", 256, "0x0100", "00000000400", "0b000100000000"},
    {"TwelveBits", 4095, "0x0FFF", "00000007777", "0b111111111111"},
    {"ThreeBytes", 65536, "0x010000", "00000200000", "0b00010000000000000000"},
    {"LargestTenOctalDigits", 1073741823, "0x3FFFFFFF", "07777777777",
     "0b00111111111111111111111111111111"},
    {"SmallestElevenOctalDigits", 1073741824, "0x40000000", "010000000000",
     "0b01000000000000000000000000000000"},
    {"MinusOneAsTwosComplement", -1, "0xFFFFFFFF", "037777777777", "0b11111111111111111111111111111111"},
    {"LowestInteger", INT32_MIN, "0x80000000", "020000000000", "0b10000000000000000000000000000000"},
    {"HighestPattern", 4294967295.0, "0xFFFFFFFF", "037777777777", "0b11111111111111111111111111111111"},
    {"RealTieRoundsToEvenDown", 2.5, "0x02", "00000000002", "0b0010"},
    {"RealTieRoundsToEvenUp", 3.5, "0x04", "00000000004", "0b0100"},
    {"RealHalfRoundsToZero", 0.5, "0x00", "00000000000", "0b0000"},
    {"NegativeRealTie", -2.5, "0xFFFFFFFE", "037777777776", "0b11111111111111111111111111111110"},
    {"RealBelowHalfRoundsDown", 255.49, "0xFF", "00000000377", "0b11111111"},
    {"NumericString", "255", "0xFF", "00000000377", "0b11111111"},
    {"UnassignedIsZero", Variant(), "0x00", "00000000000", "0b0000"},
};
INSTANTIATE_TEST_SUITE_P(Radix, RadixRendererTest, ::testing::ValuesIn(RadixCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A value at or beyond the edge of what the radix renderers show.
struct BoundaryCase {
    const char* name;
    Variant value;
    bool shown;
};

void PrintTo(const BoundaryCase& row, std::ostream* out) { *out << row.name; }

class RadixBoundaryTest : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(RadixBoundaryTest, ShowsValueOrRaisesNotRoundable) {
    const BoundaryCase& row = GetParam();
    const std::function<std::string(const Variant&, const TCCContext&)> renderers[] = {FormatHex, FormatOct,
                                                                                        FormatBin};
    for (const auto& render : renderers) {
        if (row.shown) {
            EXPECT_NO_THROW(render(row.value, Plain));
            continue;
        }
        try {
            render(row.value, Plain);
            ADD_FAILURE() << "no error for " << row.name;
        } catch (const EINError& error) {
            EXPECT_EQ(error.Message(), Plain.GetText("INT070"));
        }
    }
}

constexpr double Infinity = std::numeric_limits<double>::infinity();

const BoundaryCase BoundaryCases[] = {
    {"HighestPattern", 4294967295.0, true},
    {"RoundsDownToHighestPattern", 4294967295.4, true},
    {"TieRoundsAboveHighestPattern", 4294967295.5, false},
    {"AboveHighestPattern", 4294967296.0, false},
    {"LowestPattern", -2147483648.0, true},
    {"TieRoundsToLowestPattern", -2147483648.5, true},
    {"RoundsBelowLowestPattern", -2147483648.6, false},
    {"BelowLowestPattern", -2147483649.0, false},
    {"BeyondSigned64Bits", 1e19, false},
    {"PositiveInfinity", Infinity, false},
    {"NegativeInfinity", -Infinity, false},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), false},
    {"NonNumericString", "abc", false},
};
INSTANTIATE_TEST_SUITE_P(Boundaries, RadixBoundaryTest, ::testing::ValuesIn(BoundaryCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A value and mask with the decimal text under each separator convention.
struct DecimalCase {
    const char* name;
    Variant value;
    const char* mask;
    const char* withPointDecimals;
    const char* withCommaDecimals;
};

void PrintTo(const DecimalCase& row, std::ostream* out) { *out << row.name; }

class FormatDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(FormatDecimalTest, WritesDecimalText) {
    const DecimalCase& row = GetParam();
    EXPECT_EQ(FormatDecimal(row.value, row.mask, PointDecimals), row.withPointDecimals);
    EXPECT_EQ(FormatDecimal(row.value, row.mask, CommaDecimals), row.withCommaDecimals);
}

const DecimalCase DecimalCases[] = {
    {"PlainInteger", 14, "", "14", "14"},
    {"PlainNegativeInteger", -5, "", "-5", "-5"},
    {"PlainLowestInteger", INT32_MIN, "", "-2147483648", "-2147483648"},
    {"PlainRealFraction", 0.5, "", "0.5", "0,5"},
    {"PlainRealFifteenDigits", 1.0 / 3.0, "", "0.333333333333333", "0,333333333333333"},
    {"PlainRealExponent", 1e15, "", "1E+15", "1E+15"},
    {"PlainStringIsItsText", "abc", "", "abc", "abc"},
    {"PlainUnassignedIsEmpty", Variant(), "", "", ""},
    {"MaskedInteger", 1234567, "#,##0", "1,234,567", "1.234.567"},
    {"MaskedReal", 1234567.891234, "#,##0.###", "1,234,567.891", "1.234.567,891"},
    {"MaskedScientific", 12345, "0.0#############E+", "1.2345E+4", "1,2345E+4"},
    {"MaskedNegativeInteger", -42, "0.00;(0.00)", "(42.00)", "(42,00)"},
    {"MaskedStringNotANumberIsItsText", "abc", "0.00", "abc", "abc"},
    {"MaskedUnassignedIsZero", Variant(), "0.00", "0.00", "0,00"},
};
INSTANTIATE_TEST_SUITE_P(Decimal, FormatDecimalTest, ::testing::ValuesIn(DecimalCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FormatDecimalStringTest, NumericStringReadWithGivenSeparators) {
    EXPECT_EQ(FormatDecimal(Variant("1234.5"), "#,##0.00", PointDecimals), "1,234.50");
    EXPECT_EQ(FormatDecimal(Variant("1.234,5"), "#,##0.00", CommaDecimals), "1.234,50");
}

// The interpreter's decimal form follows the separators of its context,
// also when they change while it runs.
TEST(FormatDecimalSeparatorsTest, TheInterpreterUsesTheSeparatorsOfItsContext) {
    TCCContext context(CommaDecimals);
    TCCInterpreter interpreter(context);
    EXPECT_EQ(interpreter.FormatDecimal(Variant(1.5)), "1,5");
    interpreter.ProcessLine("@FORMAT \"#,##0.00\"");
    EXPECT_EQ(interpreter.FormatDecimal(Variant(1234.5)), "1.234,50");
    context.SetSeparators(PointDecimals);
    EXPECT_EQ(interpreter.FormatDecimal(Variant(1234.5)), "1,234.50");
    interpreter.ProcessLine("@FORMAT \"\"");
    EXPECT_EQ(interpreter.FormatDecimal(Variant(1.5)), "1.5");
}

TEST(QuotedOrPlainTextTest, QuotesStringsAsTheyAreAndWritesOtherValuesPlain) {
    const struct {
        const char* Behaviour;
        Variant Value;
        NumberSeparators Separators;
        const char* Text;
    } rows[] = {
        {"string", Variant(std::string("ab")), PointDecimals, "\"ab\""},
        {"string holding a quote", Variant(std::string("a\"b")), PointDecimals, "\"a\"b\""},
        {"empty string", Variant(std::string()), PointDecimals, "\"\""},
        {"numeric string stays quoted", Variant(std::string("1.5")), CommaDecimals, "\"1.5\""},
        {"integer", Variant(int32_t{-42}), PointDecimals, "-42"},
        {"real with the decimal comma", Variant(1.5), CommaDecimals, "1,5"},
        {"unassigned", Variant(), PointDecimals, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(QuotedOrPlainText(row.Value, row.Separators), row.Text) << row.Behaviour;
}

// A script's result: one literal in the run's mode that reads back as a
// value printing the same; a radix form only where it holds the value.
TEST(PlainResultTest, EachResultIsALiteralThatReadsBack) {
    const struct {
        const char* Behaviour;
        Variant Value;
        OutputMode Mode;
        const char* Mask;
        const char* Text;
    } rows[] = {
        {"an integer", Variant(17), OutputMode::DEC, "", "17"},
        {"a negative integer", Variant(-5), OutputMode::DEC, "", "-5"},
        {"a real", Variant(1.4142135623730951), OutputMode::DEC, "", "1.4142135623731"},
        {"a string without quotes", Variant("a \"b\""), OutputMode::HEX, "", "a \"b\""},
        {"hexadecimal", Variant(255), OutputMode::HEX, "", "0xFF"},
        {"a whole real in hexadecimal", Variant(65536.0), OutputMode::HEX, "", "0x010000"},
        {"octal", Variant(8), OutputMode::OCT, "", "00000000010"},
        {"binary", Variant(5), OutputMode::BIN, "", "0b0101"},
        {"a negative number as its pattern", Variant(-1), OutputMode::HEX, "", "0xFFFFFFFF"},
        {"the lowest integer", Variant(-2147483648.0), OutputMode::BIN, "", "0b10000000000000000000000000000000"},
        {"a pattern that would read back negative", Variant(4294967295.0), OutputMode::HEX, "", "4294967295"},
        {"octal of ten digits", Variant(1073741823), OutputMode::OCT, "", "07777777777"},
        {"octal beyond ten digits", Variant(1073741824), OutputMode::OCT, "", "1073741824"},
        {"a negative number in octal", Variant(-8), OutputMode::OCT, "", "-8"},
        {"a fraction is not rounded to a pattern", Variant(2.5), OutputMode::BIN, "", "2.5"},
        {"the run's own mask", Variant(2), OutputMode::DEC, "0.00", "2.00"},
    };
    TCCContext context;
    for (const auto& row : rows) {
        const std::string text = PlainResultText(row.Value, row.Mode, row.Mask, context);
        EXPECT_EQ(text, row.Text) << row.Behaviour;
        if (row.Value.IsString()) continue;
        TCCInterpreter interpreter(context);
        ASSERT_TRUE(interpreter.ProcessLine(text)) << row.Behaviour;
        EXPECT_EQ(PlainResultText(interpreter.LastResult(), row.Mode, row.Mask, context), text) << row.Behaviour;
    }
}

}  // namespace
}  // namespace quenmark
