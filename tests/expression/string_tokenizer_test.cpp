#include "expression/string_tokenizer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <random>
#include <vector>

#include "support/echo_messages.h"
#include "base/exception.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

using K = TokenKind;

// The contexts of these tests: without messages (an error is its code), and
// with the arguments shown ("CODE: argument"); "." and "," in both.
const TCCContext Plain;
const testing::EchoContext Echo;

std::vector<TokenPtr> ReadAll(const std::string& line, const TCCContext& context = Plain) {
    TCCStringTokenizer tokenizer(context, line);
    std::vector<TokenPtr> tokens;
    while (TokenPtr token = tokenizer.NextToken()) tokens.push_back(std::move(token));
    return tokens;
}

// The error code raised for a line, or "" when it reads without error.
std::string ErrorOf(const std::string& line, const TCCContext& context = Plain) {
    try {
        ReadAll(line, context);
    } catch (const EINError& error) {
        return error.what();
    }
    return "";
}

struct SingleTokenRow {
    const char* behaviour;
    const char* line;
    const char* text;
    TokenKinds kinds;
    Variant value;
};

class SingleTokenTest : public ::testing::TestWithParam<SingleTokenRow> {};

TEST_P(SingleTokenTest, ReadsTextKindsAndValue) {
    const SingleTokenRow& row = GetParam();
    auto tokens = ReadAll(row.line);
    ASSERT_EQ(tokens.size(), 1u) << row.behaviour;
    EXPECT_EQ(tokens[0]->Text(), row.text) << row.behaviour;
    EXPECT_EQ(tokens[0]->Kinds, row.kinds) << row.behaviour;
    EXPECT_EQ(tokens[0]->Value, row.value) << row.behaviour;
}

const TokenKinds DecInteger{K::Literal, K::Dec, K::Integer};
const TokenKinds DecReal{K::Literal, K::Dec, K::Real};

INSTANTIATE_TEST_SUITE_P(Rows, SingleTokenTest, ::testing::Values(
    SingleTokenRow{"decimal integer", "12", "12", DecInteger, Variant(int32_t{12})},
    SingleTokenRow{"largest integer", "2147483647", "2147483647", DecInteger, Variant(int32_t{2147483647})},
    SingleTokenRow{"beyond 32 bits is real", "2147483648", "2147483648", DecReal, Variant(2147483648.0)},
    SingleTokenRow{"wrapped integer is real", "4294967297", "4294967297", DecReal, Variant(4294967297.0)},
    SingleTokenRow{"zero fraction is integer", "3.0", "3.0", DecInteger, Variant(int32_t{3})},
    SingleTokenRow{"fraction is real", "2.50", "2.50", DecReal, Variant(2.5)},
    SingleTokenRow{"exponent zero stays integer", "100e0", "100e0", DecInteger, Variant(int32_t{100})},
    SingleTokenRow{"exponent makes a real", "1e2", "1e2", DecReal, Variant(100.0)},
    SingleTokenRow{"negative exponent", "25E-1", "25E-1", DecReal, Variant(2.5)},
    SingleTokenRow{"below double range reads as zero", "1e-400", "1e-400", DecReal, Variant(0.0)},
    SingleTokenRow{"zero with a huge exponent is zero", "0e5000", "0e5000", DecInteger, Variant(int32_t{0})},
    SingleTokenRow{"nearest double to a decimal fraction", "0.3", "0.3", DecReal, Variant(0.3)},
    SingleTokenRow{"just below ten is not ten", "9.999999999999995", "9.999999999999995", DecReal,
                   Variant(9.999999999999995)},
    SingleTokenRow{"largest double", "1.7976931348623157e308", "1.7976931348623157e308", DecReal,
                   Variant(1.7976931348623157e308)},
    SingleTokenRow{"smallest subnormal", "4.9406564584124654e-324", "4.9406564584124654e-324", DecReal,
                   Variant(4.9406564584124654e-324)},
    SingleTokenRow{"hexadecimal", "0xFF", "0xFF", TokenKinds{K::Literal, K::Hex, K::Integer}, Variant(int32_t{255})},
    SingleTokenRow{"hexadecimal pattern is signed", "0XFFFFFFFF", "0XFFFFFFFF",
                   TokenKinds{K::Literal, K::Hex, K::Integer}, Variant(int32_t{-1})},
    SingleTokenRow{"binary", "0b101", "0b101", TokenKinds{K::Literal, K::Bin, K::Integer}, Variant(int32_t{5})},
    SingleTokenRow{"octal", "017", "017", TokenKinds{K::Literal, K::Oct, K::Integer}, Variant(int32_t{15})},
    SingleTokenRow{"ten octal digits", "07777777777", "07777777777",
                   TokenKinds{K::Literal, K::Oct, K::Integer}, Variant(int32_t{1073741823})},
    SingleTokenRow{"08 is decimal", "08", "08", DecInteger, Variant(int32_t{8})},
    SingleTokenRow{"string", "\"abc\"", "abc", TokenKinds{K::Literal, K::String}, Variant("abc")},
    SingleTokenRow{"doubled quote", "\"a\"\"b\"", "a\"b", TokenKinds{K::Literal, K::String}, Variant("a\"b")},
    SingleTokenRow{"string longer than a short token", "\"abcdefghijklmnopqrstuvwxyz0123456789\"",
                   "abcdefghijklmnopqrstuvwxyz0123456789", TokenKinds{K::Literal, K::String},
                   Variant("abcdefghijklmnopqrstuvwxyz0123456789")},
    SingleTokenRow{"empty string", "\"\"", "", TokenKinds{K::Literal, K::String}, Variant("")},
    SingleTokenRow{"identifier", "_abc9", "_abc9", TokenKinds{K::Identifier}, Variant()},
    SingleTokenRow{"32 character identifier", "abcdefghijklmnopqrstuvwxyzABCDEF", "abcdefghijklmnopqrstuvwxyzABCDEF",
                   TokenKinds{K::Identifier}, Variant()},
    SingleTokenRow{"left shift", "<<", "<", TokenKinds{K::Operator, K::LShift}, Variant()},
    SingleTokenRow{"right shift", ">>", ">", TokenKinds{K::Operator, K::RShift}, Variant()}));

struct OperatorRow {
    char character;
    TokenKinds kinds;
};

TEST(TokenizerTest, EveryOperatorAndSymbolCharacter) {
    const OperatorRow rows[] = {
        {'+', {K::Operator, K::Plus}},        {'-', {K::Operator, K::Minus}},
        {'*', {K::Operator, K::Multiple}},    {'/', {K::Operator, K::Divide}},
        {'%', {K::Operator, K::Intdiv}},      {'&', {K::Operator, K::And}},
        {'|', {K::Operator, K::Or}},          {'^', {K::Operator, K::Xor}},
        {'!', {K::Operator, K::Not}},         {'=', {K::Operator, K::Equal}},
        {'(', {K::Symbol, K::LeftParen}},     {')', {K::Symbol, K::RightParen}},
        {'[', {K::Symbol, K::LeftBracket}},   {']', {K::Symbol, K::RightBracket}},
        {',', {K::Symbol, K::Comma}},         {'#', {K::Symbol, K::Sharp}},
        {'@', {K::Symbol, K::AtMark}},
    };
    for (const OperatorRow& row : rows) {
        auto tokens = ReadAll(std::string(1, row.character));
        ASSERT_EQ(tokens.size(), 1u) << row.character;
        EXPECT_EQ(tokens[0]->Kinds, row.kinds) << row.character;
        EXPECT_EQ(tokens[0]->Text(), std::string(1, row.character));
    }
}

struct ErrorRow {
    const char* behaviour;
    const char* line;
    const char* code;
};

// 400 nines: the mantissa alone leaves the double range.
const std::string LongMantissaText(400, '9');
const char* const LongMantissa = LongMantissaText.c_str();

class TokenizerErrorTest : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(TokenizerErrorTest, RaisesTheCode) {
    EXPECT_EQ(ErrorOf(GetParam().line), GetParam().code) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, TokenizerErrorTest, ::testing::Values(
    ErrorRow{"nine hexadecimal digits", "0x123456789", "INT002"},
    ErrorRow{"eight hexadecimal digits are fine", "0x12345678", ""},
    ErrorRow{"0x at the end of the line", "0x", "INT003"},
    ErrorRow{"0x followed by a non-digit", "0xg", "INT003"},
    ErrorRow{"eleven octal digits", "012345670123", "INT004"},
    ErrorRow{"33 binary digits", "0b111111111111111111111111111111111", "INT006"},
    ErrorRow{"32 binary digits are fine", "0b11111111111111111111111111111111", ""},
    ErrorRow{"0b followed by 2", "0b2", "INT007"},
    ErrorRow{"token starting with a point", ".5", "INT008"},
    ErrorRow{"point at the end", "1.", "INT010"},
    ErrorRow{"point before exponent", "1.e5", "INT010"},
    ErrorRow{"number beyond double range", "1e400", "INT011"},
    ErrorRow{"very long mantissa", LongMantissa, "INT011"},
    ErrorRow{"exponent without digit", "1e", "INT012"},
    ErrorRow{"exponent sign without digit", "1e+", "INT012"},
    ErrorRow{"unclosed string", "\"abc", "INT013"},
    ErrorRow{"string ending in a doubled quote", "\"abc\"\"", "INT013"},
    ErrorRow{"33 character identifier", "abcdefghijklmnopqrstuvwxyzABCDEFG", "INT020"},
    ErrorRow{"tab between tokens", "1\t2", "INT030"},
    ErrorRow{"single less-than", "1 < 2", "INT030"},
    ErrorRow{"single greater-than", "1 >", "INT030"},
    ErrorRow{"dollar sign", "$", "INT030"},
    ErrorRow{"byte above 127", "\xC3\xA9", "INT030"}));

// Decimal texts of every shape a literal can take, compared with the C
// library's correctly rounded reading in the C locale.
TEST(TokenizerTest, DecimalLiteralsReadToTheNearestDouble) {
    std::mt19937_64 random(20261207);
    const auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    for (int i = 0; i < 2000; ++i) {
        std::string text = std::to_string(1 + random() % 9) + digits(static_cast<int>(random() % 25));
        if (random() % 4 != 0) text += "." + digits(1 + static_cast<int>(random() % 25));
        if (random() % 2 != 0) text += (random() % 2 ? "e-" : "e+") + std::to_string(random() % 330);
        const double expected = strtod_l(text.c_str(), nullptr, cLocale);
        if (!std::isfinite(expected)) continue;
        auto tokens = ReadAll(text);
        ASSERT_EQ(tokens.size(), 1u) << text;
        EXPECT_EQ(tokens[0]->Value.ToReal(Plain.Separators()), expected) << text;
    }
    freelocale(cLocale);
}

TEST(TokenizerTest, InvalidCharacterArgumentIsTheWholeCharacter) {
    EXPECT_EQ(ErrorOf("ab \xE2\x82\xAC", Echo), "INT030: \xE2\x82\xAC");
    EXPECT_EQ(ErrorOf("1\t2", Echo), "INT030: \\x09");  // unprintable: escaped
    EXPECT_EQ(ErrorOf("1 < 2", Echo), "INT030: <");
    EXPECT_EQ(ErrorOf("\xE2\x82", Echo), "INT030: \xE2");  // a broken sequence gives its first byte
}

TEST(TokenizerTest, NumberFollowedByIdentifierSplits) {
    auto tokens = ReadAll("12abc");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0]->Value, Variant(int32_t{12}));
    EXPECT_EQ(tokens[1]->Text(), "abc");
}

TEST(TokenizerTest, OctalStopsAtTheFirstNonOctalDigit) {
    auto tokens = ReadAll("0779");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0]->Text(), "077");
    EXPECT_EQ(tokens[0]->Value, Variant(int32_t{63}));
    EXPECT_EQ(tokens[1]->Value, Variant(int32_t{9}));
    EXPECT_TRUE(tokens[1]->Is(K::Dec));
}

TEST(TokenizerTest, UpperTextChangesOnlyAsciiLetters) {
    auto tokens = ReadAll("\"ab\xC3\xA9z1\"");
    EXPECT_EQ(tokens[0]->UpperText(), "AB\xC3\xA9Z1");
}

TEST(TokenizerTest, PushBackRestoresReadingOrder) {
    TCCStringTokenizer tokenizer(Plain, "a + b");
    TokenPtr first = tokenizer.NextToken();
    TokenPtr second = tokenizer.NextToken();
    tokenizer.PushBack(std::move(second));
    tokenizer.PushBack(std::move(first));
    EXPECT_EQ(tokenizer.NextToken()->Text(), "a");
    EXPECT_EQ(tokenizer.NextToken()->Text(), "+");
    EXPECT_EQ(tokenizer.NextToken()->Text(), "b");
    EXPECT_EQ(tokenizer.NextToken(), nullptr);
}

TEST(TokenizerTest, PeekReadsAheadInOrderAndPushBackGoesBeforeThePendingTokens) {
    TCCStringTokenizer tokenizer(Plain, "a b c");
    EXPECT_EQ(tokenizer.PeekToken(1)->Text(), "b");
    EXPECT_EQ(tokenizer.PeekToken()->Text(), "a");
    tokenizer.SkipToken();
    tokenizer.PushBack(std::make_unique<TCCToken>("x", TokenKinds{K::Identifier}));
    for (const char* expected : {"x", "b", "c"}) EXPECT_EQ(tokenizer.NextToken()->Text(), expected);
    EXPECT_EQ(tokenizer.PeekToken(), nullptr);
}

TEST(TokenizerTest, EmptyPushedBackEntryCountsAsMoreTokens) {
    TCCStringTokenizer tokenizer(Plain, "");
    EXPECT_FALSE(tokenizer.HasMoreTokens());
    tokenizer.PushBack(nullptr);
    EXPECT_TRUE(tokenizer.HasMoreTokens());
    EXPECT_EQ(tokenizer.NextToken(), nullptr);
    EXPECT_FALSE(tokenizer.HasMoreTokens());
}

TEST(TokenizerTest, SetTextDiscardsPushedBackTokensAndSeenKinds) {
    TCCStringTokenizer tokenizer(Plain, "0x1");
    tokenizer.PushBack(tokenizer.NextToken());
    EXPECT_TRUE(tokenizer.SeenKinds().Has(K::Hex));
    tokenizer.SetText("1");
    EXPECT_TRUE(tokenizer.SeenKinds().Empty());
    EXPECT_EQ(tokenizer.NextToken()->Text(), "1");
}

TEST(TokenizerTest, SeenKindsCollectsEveryTokenOnce) {
    TCCStringTokenizer tokenizer(Plain, "0x1 + 0b1 + 017");
    while (tokenizer.NextToken()) {
    }
    const TokenKinds seen = tokenizer.SeenKinds();
    for (K kind : {K::Hex, K::Bin, K::Oct, K::Literal, K::Integer, K::Operator, K::Plus}) EXPECT_TRUE(seen.Has(kind));
    EXPECT_FALSE(seen.Has(K::Dec));
    EXPECT_FALSE(seen.Has(K::Real));
}

TEST(TokenizerTest, DumpListsTokensAndPushesThemBack) {
    TCCStringTokenizer tokenizer(Plain, "x = 12 + 2.5 * \"s\" (0x1F)");
    std::vector<std::string> lines;
    tokenizer.DumpTokens(&lines);
    const std::vector<std::string> expected = {
        "String Tokenize...",
        "\tx\t(Identifier)",
        "\t=\t(Operator, Equal)",
        "\t12\t(Literal, Integer, Dec, Value = 12)",
        "\t+\t(Operator, Plus)",
        "\t2.5\t(Literal, Real, Dec, Value = 2.5)",
        "\t*\t(Operator, Multiple)",
        "\ts\t(Literal, String, Value = s)",
        "\t(\t(Symbol)",
        "\t0x1F\t(Literal, Integer, Hex, Value = 31)",
        "\t)\t(Symbol)",
        "Done.",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(tokenizer.SeenKinds().Has(K::Hex));
    EXPECT_EQ(tokenizer.NextToken()->Text(), "x");
    EXPECT_EQ(tokenizer.NextToken()->Text(), "=");
}

TEST(TokenizerTest, DumpUsesLocaleDecimalSeparator) {
    TCCContext context;
    context.SetSeparators({",", "."});
    TCCStringTokenizer tokenizer(context, "2.5");
    std::vector<std::string> lines;
    tokenizer.DumpTokens(&lines);
    EXPECT_EQ(lines[1], "\t2.5\t(Literal, Real, Dec, Value = 2,5)");
}

// A module token source that recognises "**" as a power operator.
class PowerTokenSource : public ModuleTokenSource {
public:
    bool ReadToken(std::string_view rest, size_t& consumed, TCCToken& token) override {
        ++asked;
        if (rest.substr(0, 2) != "**") return false;
        consumed = 2;
        token.Set("**", TokenKinds{K::Operator, K::Power});
        return true;
    }
    int asked = 0;
};

TEST(TokenizerTest, ModuleSourceIsAskedBeforeBuiltInRules) {
    PowerTokenSource source;
    TCCStringTokenizer tokenizer(Plain);
    tokenizer.SetModuleTokenSource(&source);
    tokenizer.SetText("2 ** 3");
    std::vector<std::string> lines;
    tokenizer.DumpTokens(&lines);
    EXPECT_EQ(source.asked, 3);
    EXPECT_EQ(lines[2], "\t**\t(Operator, Power)");
    EXPECT_TRUE(tokenizer.SeenKinds().Has(K::Power));
}

}  // namespace
}  // namespace quenmark
