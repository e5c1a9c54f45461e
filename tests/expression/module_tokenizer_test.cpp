#include "expression/module_tokenizer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "expression/string_tokenizer.h"
#include "module_test_support.h"
#include "support/echo_messages.h"
#include "base/exception.h"
#include "vm/module_list.h"

namespace quenmark {
namespace {

using testing::ControlOf;
using testing::TestModuleDirectory;

// A tokenizer asking the test tokenizer modules given, in that order.
class ModuleTokenizerTest : public ::testing::Test {
protected:
    void Use(std::initializer_list<const char*> names) {
        for (const char* name : names)
            modules.Add(std::make_unique<TVMModule>(context, TestModuleDirectory(), std::string(name) + ".vmx"));
        tokenizer.SetModuleTokenSource(&source);
    }
    TestTokenScript& Script(size_t index = 0) { return ControlOf(modules[index]).Token; }
    TestControl& Control(size_t index = 0) { return ControlOf(modules[index]); }
    TokenPtr First(const std::string& line) {
        tokenizer.SetText(line);
        return tokenizer.NextToken();
    }
    void Recognise(int32_t tokenClass, int32_t subKind, const char* text, int32_t length) {
        TestTokenScript& script = Script();
        script.Result = vmxTokenRecognised;
        script.TokenClass = tokenClass;
        script.SubKind = subKind;
        script.Text = text;
        script.TokenLength = length;
    }

    testing::EchoContext context;
    TVMModuleList modules;
    TCCModuleTokenizer source{modules};
    TCCStringTokenizer tokenizer{context};
};

TEST_F(ModuleTokenizerTest, ModuleThatRecognisesNothingLeavesTheBuiltInRules) {
    Use({"tokenizer_a"});
    tokenizer.SetText("12 + abc");
    std::vector<std::string> texts;
    while (TokenPtr token = tokenizer.NextToken()) {
        EXPECT_EQ(token->Module, nullptr);
        texts.emplace_back(token->Text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"12", "+", "abc"}));
    // Asked once at every token position with the rest of the line.
    EXPECT_EQ(Control().TokenCalls, 3);
    EXPECT_STREQ(Control().LastInput, "abc");
    EXPECT_EQ(Control().LastLength, 3);
}

// A tokenizer that declares its start characters is asked only where the
// next character is one of them; one that declares none, everywhere.
TEST_F(ModuleTokenizerTest, ADeclaredTokenizerIsAskedOnlyAtItsStartCharacters) {
    Use({"tokenizer_hash", "tokenizer_a"});
    EXPECT_TRUE(modules[0].DeclaresTokenStarts());
    EXPECT_FALSE(modules[1].DeclaresTokenStarts());
    tokenizer.SetText("1 + a # b #");
    while (tokenizer.NextToken()) {
    }
    EXPECT_EQ(Control(0).TokenCalls, 2);
    EXPECT_STREQ(Control(0).LastInput, "#");
    EXPECT_EQ(Control(1).TokenCalls, 6);
}

// A waiting tokenizer is loaded by the first token position that starts
// with a character it declared, and asked there.
TEST_F(ModuleTokenizerTest, AWaitingTokenizerLoadsAtItsFirstStartCharacter) {
    tokenizer.SetModuleTokenSource(&source);
    TPendingModule waiting;
    waiting.Order = 0;
    waiting.Tokenizer = true;
    waiting.TokenStarts.set('#');
    std::vector<size_t> loads;
    modules.SetPendingLoader([&](const TPendingModule& module) {
        loads.push_back(module.Order);
        modules.Add(std::make_unique<TVMModule>(context, TestModuleDirectory(), "tokenizer_hash.vmx"));
    });
    modules.AddPending(waiting);
    First("1 + abc");
    EXPECT_TRUE(loads.empty());
    First("1 # 2");
    tokenizer.NextToken();
    ASSERT_EQ(loads, std::vector<size_t>{0});
    EXPECT_EQ(modules.PendingCount(), 0u);
    EXPECT_EQ(Control(0).TokenCalls, 1);
}

TEST_F(ModuleTokenizerTest, RecordOffersTheTwoBuffers) {
    Use({"tokenizer_a"});
    First("x");
    EXPECT_EQ(Control().LastTextSize, VMX_BUFFER_SIZE);
    EXPECT_EQ(Control().LastStrSize, VMX_BUFFER_SIZE);
}

TEST_F(ModuleTokenizerTest, RecognisedOperatorAdvancesByItsLength) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenOperator, vmxOpPower, "**", 2);
    TokenPtr token = First("**3");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Text(), "**");
    EXPECT_EQ(token->Kinds, (TokenKinds{TokenKind::Operator, TokenKind::Power}));
    EXPECT_EQ(token->Module, &modules[0]);
    EXPECT_TRUE(token->Value.IsUnassigned());
    EXPECT_TRUE(tokenizer.SeenKinds().Has(TokenKind::Power));
    EXPECT_EQ(token->Description(context.Separators()), "**\t(Operator, Power, Tokenized by tokenizer_a.vmx)");
    Script().Result = vmxTokenNotRecognised;
    TokenPtr next = tokenizer.NextToken();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Text(), "3");
}

TEST_F(ModuleTokenizerTest, EveryOperatorSubKindHasItsKind) {
    constexpr TokenKind expected[] = {
        TokenKind::Equal, TokenKind::Plus, TokenKind::Minus, TokenKind::Multiple, TokenKind::Divide,
        TokenKind::Intdiv, TokenKind::Surplus, TokenKind::Power, TokenKind::Factorial, TokenKind::And,
        TokenKind::Or, TokenKind::Xor, TokenKind::Not, TokenKind::LShift, TokenKind::RShift,
    };
    Use({"tokenizer_a"});
    for (int32_t subKind = 1; subKind <= 15; ++subKind) {
        Recognise(vmxTokenOperator, subKind, "op", 2);
        TokenPtr token = First("op");
        ASSERT_NE(token, nullptr);
        EXPECT_EQ(token->Kinds, (TokenKinds{TokenKind::Operator, expected[subKind - 1]})) << subKind;
    }
}

struct LiteralCase {
    const char* rule;
    int32_t radix;
    int32_t valueType;
    TokenKinds kinds;
    Variant value;
};

class ModuleLiteralTest : public ModuleTokenizerTest, public ::testing::WithParamInterface<LiteralCase> {};

TEST_P(ModuleLiteralTest, LiteralCarriesItsRadixValueKindAndValue) {
    const LiteralCase& row = GetParam();
    Use({"tokenizer_a"});
    Recognise(vmxTokenLiteral, row.radix, "lit", 3);
    TestTokenScript& script = Script();
    script.ValueType = row.valueType;
    script.IntValue = 77;
    script.RealValue = 0.5;
    script.StrText = "seven";
    script.StrLength = 3;
    TokenPtr token = First("lit");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Kinds, row.kinds);
    EXPECT_EQ(token->Value, row.value);
    EXPECT_EQ(token->Text(), "lit");
}

INSTANTIATE_TEST_SUITE_P(
    Literals, ModuleLiteralTest,
    ::testing::Values(
        LiteralCase{"decimal_integer", vmxRadixDecimal, vmxInteger,
                    {TokenKind::Literal, TokenKind::Dec, TokenKind::Integer}, Variant(int32_t{77})},
        LiteralCase{"hexadecimal_real", vmxRadixHexadecimal, vmxReal,
                    {TokenKind::Literal, TokenKind::Hex, TokenKind::Real}, Variant(0.5)},
        LiteralCase{"octal_string_cut_to_its_length", vmxRadixOctal, vmxString,
                    {TokenKind::Literal, TokenKind::Oct, TokenKind::String}, Variant(std::string("sev"))},
        LiteralCase{"binary_integer", vmxRadixBinary, vmxInteger,
                    {TokenKind::Literal, TokenKind::Bin, TokenKind::Integer}, Variant(int32_t{77})}),
    [](const ::testing::TestParamInfo<LiteralCase>& row) { return std::string(row.param.rule); });

TEST_F(ModuleTokenizerTest, IdentifierTextIsCutToTheTokenLength) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenIdentifier, 0, "abcdef", 3);
    TokenPtr token = First("abcdef");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Kinds, (TokenKinds{TokenKind::Identifier}));
    EXPECT_EQ(token->Text(), "abc");
    EXPECT_EQ(tokenizer.Position(), 4u);
}

TEST_F(ModuleTokenizerTest, TextEndsAtItsZeroByteWhileTheTokenCoversMore) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenIdentifier, 0, "ab", 4);
    TokenPtr token = First("abcd+1");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Text(), "ab");
    EXPECT_EQ(tokenizer.Position(), 5u);
}

TEST_F(ModuleTokenizerTest, TextMayLieInTheModulesOwnMemory) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenIdentifier, 0, nullptr, 2);
    Script().OwnText = "own";
    TokenPtr token = First("xy");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Text(), "ow");
}

TEST_F(ModuleTokenizerTest, FirstModuleThatRecognisesATokenWins) {
    Use({"tokenizer_a", "tokenizer_b"});
    Script(1).Result = vmxTokenRecognised;
    Script(1).TokenClass = vmxTokenIdentifier;
    Script(1).Text = "b";
    Script(1).TokenLength = 1;
    TokenPtr token = First("b");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Module, &modules[1]);
    EXPECT_EQ(Control(0).TokenCalls, 1);

    Recognise(vmxTokenIdentifier, 0, "a", 1);
    token = First("a");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Module, &modules[0]);
    EXPECT_EQ(Control(1).TokenCalls, 1);  // not asked again
}

TEST_F(ModuleTokenizerTest, ModulesWithoutATokenizerAreNotAsked) {
    Use({"valid", "tokenizer_a"});
    TestTokenScript& script = Script(1);
    script.Result = vmxTokenRecognised;
    script.TokenClass = vmxTokenIdentifier;
    script.Text = "t";
    script.TokenLength = 1;
    TokenPtr token = First("t");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Module, &modules[1]);
}

struct FailureCase {
    const char* rule;
    int32_t result;
    const char* code;
};

class ModuleTokenizerResultTest : public ModuleTokenizerTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ModuleTokenizerResultTest, FailureResultRaisesItsCode) {
    Use({"tokenizer_a", "tokenizer_b"});
    Script().Result = GetParam().result;
    try {
        First("x");
        FAIL() << "no failure";
    } catch (const EINError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(GetParam().code) + ": tokenizer_a.vmx");
    }
    EXPECT_EQ(Control(1).TokenCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(Results, ModuleTokenizerResultTest,
                         ::testing::Values(FailureCase{"reported_failure", vmxTokenFailure, "INT061"},
                                           FailureCase{"unknown_result", 999, "INT063"},
                                           FailureCase{"negative_result", -1, "INT063"},
                                           FailureCase{"result_one", 1, "INT063"}),
                         [](const ::testing::TestParamInfo<FailureCase>& row) {
                             return std::string(row.param.rule);
                         });

// Scripts of broken records; each must be rejected as the module's failure.
struct BrokenRecord {
    const char* rule;
    void (*apply)(TestTokenScript&);
};

class BrokenTokenRecordTest : public ModuleTokenizerTest, public ::testing::WithParamInterface<BrokenRecord> {};

TEST_P(BrokenTokenRecordTest, IsRejectedWithTheModulesName) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenLiteral, vmxRadixDecimal, "tok", 3);
    Script().ValueType = vmxString;
    Script().StrText = "value";
    Script().StrLength = 5;
    GetParam().apply(Script());
    const std::string line = "tok" + std::string(1500, ' ') + "1";
    try {
        First(line);
        FAIL() << "token accepted";
    } catch (const EINError& error) {
        EXPECT_EQ(std::string(error.what()), "INT063: tokenizer_a.vmx");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, BrokenTokenRecordTest,
    ::testing::Values(
        BrokenRecord{"length_zero", [](TestTokenScript& s) { s.TokenLength = 0; }},
        BrokenRecord{"length_negative", [](TestTokenScript& s) { s.TokenLength = -2; }},
        BrokenRecord{"length_beyond_the_line", [](TestTokenScript& s) { s.TokenLength = 1505; }},
        BrokenRecord{"length_beyond_the_text_buffer", [](TestTokenScript& s) { s.TokenLength = 1030; }},
        BrokenRecord{"text_overruns_its_buffer", [](TestTokenScript& s) { s.TextFill = 1030; }},
        BrokenRecord{"text_fills_the_buffer_without_end", [](TestTokenScript& s) { s.TextFill = 1024; }},
        BrokenRecord{"text_missing", [](TestTokenScript& s) { s.NullText = 1; }},
        BrokenRecord{"string_value_overruns_its_buffer", [](TestTokenScript& s) { s.StrFill = 1100; }},
        BrokenRecord{"string_length_beyond_its_buffer", [](TestTokenScript& s) { s.StrLength = 2000; }},
        BrokenRecord{"string_value_missing", [](TestTokenScript& s) { s.NullStr = 1; }},
        BrokenRecord{"unknown_token_class", [](TestTokenScript& s) { s.TokenClass = 4; }},
        BrokenRecord{"token_class_zero", [](TestTokenScript& s) { s.TokenClass = 0; }},
        BrokenRecord{"literal_radix_zero", [](TestTokenScript& s) { s.SubKind = 0; }},
        BrokenRecord{"literal_radix_five", [](TestTokenScript& s) { s.SubKind = 5; }},
        BrokenRecord{"operator_kind_zero", [](TestTokenScript& s) { s.TokenClass = vmxTokenOperator; s.SubKind = 0; }},
        BrokenRecord{"operator_kind_sixteen",
                     [](TestTokenScript& s) { s.TokenClass = vmxTokenOperator; s.SubKind = 16; }}),
    [](const ::testing::TestParamInfo<BrokenRecord>& row) { return std::string(row.param.rule); });

TEST_F(ModuleTokenizerTest, StringValueMayFillItsWholeBuffer) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenLiteral, vmxRadixDecimal, "s", 1);
    Script().ValueType = vmxString;
    Script().StrFill = VMX_BUFFER_SIZE;
    Script().StrLength = VMX_BUFFER_SIZE;
    TokenPtr token = First("s");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Value, Variant(std::string(VMX_BUFFER_SIZE, 'y')));
}

TEST_F(ModuleTokenizerTest, RecordOfAnotherSizeRaisesAGeneralErrorWithoutMessage) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenIdentifier, 0, "x", 1);
    Script().Size = 68;
    try {
        First("x");
        FAIL() << "token accepted";
    } catch (const EINError&) {
        FAIL() << "reported as an input error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "");
    }
}

TEST_F(ModuleTokenizerTest, LiteralOfAnUnknownValueTypeFailsInTheConversion) {
    Use({"tokenizer_a"});
    Recognise(vmxTokenLiteral, vmxRadixDecimal, "x", 1);
    Script().ValueType = 7;
    try {
        First("x");
        FAIL() << "token accepted";
    } catch (const EINError&) {
        FAIL() << "reported as an input error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Invalid VMXValue type.");
    }
}

TEST_F(ModuleTokenizerTest, ModuleOfBothKindsIsAskedToo) {
    Use({"both_1a"});
    Recognise(vmxTokenIdentifier, 0, "z", 1);
    TokenPtr token = First("z");
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token->Module, &modules[0]);
}

TEST_F(ModuleTokenizerTest, RestIsOfferedZeroTerminatedAtItsLength) {
    Use({"tokenizer_a"});
    const std::string line = "abc def";
    size_t consumed = 0;
    // The tail of the line, read in place, and a view that stops inside it.
    for (std::string_view rest : {std::string_view(line).substr(4), std::string_view(line).substr(0, 3)}) {
        TCCToken token;
        EXPECT_FALSE(source.ReadToken(rest, consumed, token));
        EXPECT_EQ(std::string(Control().LastInput), rest);
        EXPECT_EQ(Control().LastLength, static_cast<int32_t>(rest.size()));
    }
}

}  // namespace
}  // namespace quenmark
