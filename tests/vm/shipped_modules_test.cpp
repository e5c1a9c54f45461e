// The modules shipped in the program directory, used as the program uses
// them: loaded by the loader into an interpreter.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "support/echo_messages.h"

namespace quenmark {
namespace {

class ShippedModulesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session = new testing::ModuleSession(testing::ProgramModuleDirectory()); }
    static void TearDownTestSuite() {
        delete session;
        session = nullptr;
    }
    const TVMModule* Module(const std::string& fileName) const {
        for (size_t i = 0; i < session->Modules.Count(); ++i)
            if (session->Modules[i].FileName() == fileName) return &session->Modules[i];
        return nullptr;
    }

    static testing::ModuleSession* session;
};

testing::ModuleSession* ShippedModulesTest::session = nullptr;

TEST_F(ShippedModulesTest, EveryShippedModuleLoadsWithItsKind) {
    struct Expected {
        const char* file;
        const char* type;
        const char* level;
        bool functions;
        bool tokenizer;
    };
    for (const Expected& row : {Expected{"math.vmx", "Func&Const", "1", true, false},
                                Expected{"text.vmx", "Func&Const", "1", true, false},
                                Expected{"ops.vmx", "Tokenizer", "1A", false, true},
                                Expected{"units.vmx", "Tokenizer", "1A", false, true}}) {
        const TVMModule* module = Module(row.file);
        ASSERT_NE(module, nullptr) << row.file;
        ASSERT_NE(module->ModuleInfo(), nullptr);
        EXPECT_STREQ(module->ModuleInfo()->ModuleType, row.type);
        EXPECT_STREQ(module->ModuleInfo()->InterpreterLevel, row.level);
        EXPECT_EQ(module->HasFunctions(), row.functions) << row.file;
        EXPECT_EQ(module->HasTokenizer(), row.tokenizer) << row.file;
    }
}

// The units module's bracket is a postfix token that the parser turns into
// a call of CONVERT with the value before it and the two unit names; here
// CONVERT shows what it was given.
TEST_F(ShippedModulesTest, TheUnitsBracketCallsConvertWithTheValueBeforeIt) {
    session->Interpreter.BuiltinFunctions().Register(
        UnitConversionName, 3, "test", [](std::span<const Variant> arguments) {
            return Variant(arguments[0].ToText({}) + "|" + arguments[1].AsString() + "|" + arguments[2].AsString());
        });
    EXPECT_EQ(session->Result("100 [km/h -> m/s]"), "\"100|km/h|m/s\"");
    EXPECT_EQ(session->Result("-40 [ degree Celsius->°F ]"), "\"-40|degree Celsius|°F\"");
    EXPECT_EQ(session->Result("\"x\" + 3[a->b]"), "\"x3|a|b\"");
    EXPECT_EQ(session->Result("CONVERT(1, \"x\", \"y\")"), "\"1|x|y\"");
    EXPECT_EQ(session->Result("7"), "7");
    EXPECT_EQ(session->Result("[m -> km]"), "\"7|m|km\"");
    // A bracket the module does not take is read as before.
    for (const char* line : {"1 [km]", "1 [km ->]", "1 [km -> m", "[", "1 [km -> m] 2"})
        EXPECT_EQ(session->Run(line), std::vector<std::string>{"INT001"}) << line;
    EXPECT_EQ(session->Run("1 [-> m]"), std::vector<std::string>{"INT030: >"});
}

TEST_F(ShippedModulesTest, TheLinesEveryUserTriesFirst) {
    EXPECT_EQ(session->Result("SIN(PI/2)"), "1");
    EXPECT_EQ(session->Result("LEN(\"abc\")"), "3");
    EXPECT_EQ(session->Result("2**10"), "1024");
    EXPECT_EQ(session->Result("-2**2"), "4");
    EXPECT_EQ(session->Result("7 mod 3"), "1");
    EXPECT_EQ(session->Run("PRINT(5)"), (std::vector<std::string>{"5", "5"}));
}

TEST_F(ShippedModulesTest, ConstantsAreProtectedConstants) {
    for (const char* name : {"PI", "E", "PHI", "SQRT2", "LN2", "LN10"}) {
        const TVMVariable* constant = session->Interpreter.Variables().Find(name);
        ASSERT_NE(constant, nullptr) << name;
        EXPECT_TRUE(constant->IsConstant && constant->IsProtected) << name;
        EXPECT_TRUE(constant->Value.IsReal()) << name;
    }
    EXPECT_EQ(session->Result("PI"), "3.14159265358979");
    EXPECT_EQ(session->Result("E"), "2.71828182845905");
    EXPECT_EQ(session->Result("PHI * PHI - PHI"), "1");
    EXPECT_EQ(session->Result("SQRT2 * SQRT2"), "2");
    EXPECT_EQ(session->Result("EXP(LN2)"), "2");
    EXPECT_EQ(session->Result("EXP(LN10)"), "10");
}

TEST_F(ShippedModulesTest, FunctionListingShowsEveryFunctionWithItsDescription) {
    const std::vector<std::string> lines = session->Run("@FNC");
    for (const char* name : {"SIN", "COS", "TAN", "ASIN", "ACOS", "ATAN", "ATAN2", "SINH", "COSH", "TANH",
                             "ASINH", "ACOSH", "ATANH", "SQRT", "CBRT", "EXP", "LN", "LOG", "LOG2", "ABS",
                             "SIGN", "INT", "FRAC", "ROUND", "FLOOR", "CEIL", "MIN", "MAX", "HYPOT", "GCD",
                             "LCM", "FACT", "NCR", "NPR", "DEG", "RAD", "LEN", "UPPER", "LOWER", "LEFT",
                             "RIGHT", "MID", "STR", "VAL", "PRINT"}) {
        const std::string prefix = std::string(name) + "\t : " + name + "(";
        const bool listed = std::any_of(lines.begin(), lines.end(),
                                        [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        EXPECT_TRUE(listed) << name;
    }
}

struct Evaluation {
    const char* line;
    const char* result;
};

class ShippedFunctionTest : public ShippedModulesTest, public ::testing::WithParamInterface<Evaluation> {};

TEST_P(ShippedFunctionTest, Evaluates) { EXPECT_EQ(session->Result(GetParam().line), GetParam().result); }

INSTANTIATE_TEST_SUITE_P(
    Trigonometry, ShippedFunctionTest,
    ::testing::Values(Evaluation{"COS(0)", "1"}, Evaluation{"TAN(PI/4)", "1"},
                      Evaluation{"ASIN(1) * 2 - PI", "0"}, Evaluation{"ACOS(1)", "0"},
                      Evaluation{"ATAN(1) * 4 - PI", "0"}, Evaluation{"ATAN2(1, -1)", "2.35619449019234"},
                      Evaluation{"SINH(0) + TANH(0) + ASINH(0) + ATANH(0)", "0"},
                      Evaluation{"COSH(0) + ACOSH(1)", "1"}, Evaluation{"DEG(PI)", "180"},
                      Evaluation{"RAD(180)", "3.14159265358979"}, Evaluation{"HYPOT(3, 4)", "5"}));

INSTANTIATE_TEST_SUITE_P(
    PowersAndLogarithms, ShippedFunctionTest,
    ::testing::Values(Evaluation{"SQRT(16)", "4"}, Evaluation{"CBRT(-27)", "-3"}, Evaluation{"EXP(0)", "1"},
                      Evaluation{"LN(E)", "1"}, Evaluation{"LOG(1000)", "3"}, Evaluation{"LOG2(1024)", "10"}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, ShippedFunctionTest,
    ::testing::Values(Evaluation{"ABS(-3)", "3"}, Evaluation{"ABS(-2.5)", "2.5"},
                      Evaluation{"ABS(-2147483647 - 1)", "2147483648"}, Evaluation{"SIGN(-4.5)", "-1"},
                      Evaluation{"SIGN(0)", "0"}, Evaluation{"INT(-2.7)", "-2"}, Evaluation{"FRAC(-2.75)", "-0.75"},
                      Evaluation{"FRAC(7)", "0"}, Evaluation{"ROUND(2.5)", "3"}, Evaluation{"ROUND(-2.5)", "-3"},
                      Evaluation{"FLOOR(-2.5)", "-3"}, Evaluation{"CEIL(2.1)", "3"},
                      Evaluation{"ROUND(1e20)", "1E+20"}, Evaluation{"MIN(3, 2.5)", "2.5"},
                      Evaluation{"MAX(3, 2.5)", "3"}));

INSTANTIATE_TEST_SUITE_P(
    Counting, ShippedFunctionTest,
    ::testing::Values(Evaluation{"GCD(12, -18)", "6"}, Evaluation{"GCD(0, 0)", "0"}, Evaluation{"LCM(4, 6)", "12"},
                      Evaluation{"LCM(0, 5)", "0"}, Evaluation{"FACT(0)", "1"}, Evaluation{"FACT(12)", "479001600"},
                      Evaluation{"FACT(13)", "6227020800"}, Evaluation{"NCR(5, 2)", "10"},
                      Evaluation{"NCR(52, 5)", "2598960"}, Evaluation{"NCR(3, 5)", "0"},
                      Evaluation{"NPR(5, 2)", "20"}, Evaluation{"NPR(10, 0)", "1"}));

INSTANTIATE_TEST_SUITE_P(
    Text, ShippedFunctionTest,
    ::testing::Values(Evaluation{"UPPER(\"abc\")", "\"ABC\""}, Evaluation{"LOWER(\"AbC\")", "\"abc\""},
                      Evaluation{"LEFT(\"hello\", 2)", "\"he\""}, Evaluation{"LEFT(\"hi\", 5)", "\"hi\""},
                      Evaluation{"RIGHT(\"hello\", 3)", "\"llo\""}, Evaluation{"MID(\"hello\", 2, 3)", "\"ell\""},
                      Evaluation{"MID(\"hello\", 9, 2)", "\"\""}, Evaluation{"STR(1.5)", "\"1.5\""},
                      Evaluation{"STR(1e20)", "\"1E+20\""}, Evaluation{"STR(-7)", "\"-7\""},
                      Evaluation{"VAL(\"41\") + 1", "42"}, Evaluation{"VAL(\" 2.5 \")", "2.5"},
                      Evaluation{"VAL(\"-1e3\")", "-1000"}, Evaluation{"LEN(\"\")", "0"}));

INSTANTIATE_TEST_SUITE_P(
    Operators, ShippedFunctionTest,
    ::testing::Values(Evaluation{"2 ** 0.5 * 2 ** 0.5", "2"}, Evaluation{"2 ** -2147483647", "0"},
                      Evaluation{"10 ** -5000", "0"}, Evaluation{"0.5 ** -2147483647", "CVM006"},
                      Evaluation{"7 MOD 3", "1"}, Evaluation{"7 Mod -3", "1"},
                      Evaluation{"-7 mod 3", "-1"}, Evaluation{"10mod 4", "2"},
                      Evaluation{"model = 3", "3"}, Evaluation{"mod_x = 4", "4"}));

INSTANTIATE_TEST_SUITE_P(
    Failures, ShippedFunctionTest,
    ::testing::Values(Evaluation{"SQRT(-1)", "CVM021: SQRT"}, Evaluation{"LN(0)", "CVM021: LN"},
                      Evaluation{"ASIN(2)", "CVM021: ASIN"}, Evaluation{"ATANH(1)", "CVM021: ATANH"},
                      Evaluation{"FACT(-1)", "CVM021: FACT"}, Evaluation{"SIN(\"x\")", "CVM022: SIN"},
                      Evaluation{"EXP(1000)", "CVM023: EXP"}, Evaluation{"FACT(171)", "CVM023: FACT"},
                      Evaluation{"NPR(1000, 500)", "CVM023: NPR"}, Evaluation{"FACT(2.5)", "CVM024: FACT"},
                      Evaluation{"GCD(1.5, 2)", "CVM024: GCD"}, Evaluation{"LEFT(\"abc\", -1)", "CVM021: LEFT"},
                      Evaluation{"MID(\"abc\", 0, 1)", "CVM021: MID"}, Evaluation{"LEN(5)", "CVM022: LEN"},
                      Evaluation{"STR(\"5\")", "CVM022: STR"}, Evaluation{"LEFT(\"abc\", 1.5)", "CVM024: LEFT"},
                      Evaluation{"VAL(\"abc\")", "CVM021: VAL"}, Evaluation{"VAL(\"1e999\")", "CVM023: VAL"}));

}  // namespace
}  // namespace quenmark
