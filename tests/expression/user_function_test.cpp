// Functions of the user's own: definition, call, names found at call time,
// the bound on recursion, name clashes, redefinition and deletion; and lines
// that continue the last result. The interpreter has no messages here, so
// every message is its code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exception.h"
#include "expression/interpreter.h"
#include "support/line_output.h"

namespace quenmark {
namespace {

int32_t TwiceDispatcher(const char*, VMXValue* result, VMXValue* args, int32_t) {
    result->ValueType = vmxInteger;
    result->IntValue = args[0].IntValue * 2;
    return vmxSuccess;
}

class UserFunctionTest : public ::testing::Test {
protected:
    UserFunctionTest() { interpreter.Callables().RegisterFunction("Twice", TwiceDispatcher, "TWICE(x)", 1); }

    std::vector<std::string> Run(const std::string& line) { return testing::LineOutput(interpreter, line); }
    std::string Last(const std::string& line) {
        const std::vector<std::string> lines = Run(line);
        return lines.empty() ? std::string() : lines.back();
    }

    TCCInterpreter interpreter;
};

TEST_F(UserFunctionTest, DefinitionCompilesAndACallRunsIt) {
    EXPECT_EQ(Last("sq(x) = x * x"), "INT185");
    EXPECT_FALSE(interpreter.LastWasExpression());
    EXPECT_EQ(Last("sq(7)"), "49");
    EXPECT_EQ(Last("hyp(a, b) = a*a + b*b"), "INT185");
    EXPECT_EQ(Last("hyp(3, 4) + SQ(2)"), "29");
    EXPECT_EQ(Last("none() = 6 * 7"), "INT185");
    EXPECT_EQ(Last("none()"), "42");
    EXPECT_EQ(Last("twice(sq(3))"), "18");
    ASSERT_NE(interpreter.UserFunctions().Find("HYP"), nullptr);
    EXPECT_EQ(interpreter.UserFunctions().Find("hyp")->Definition, "hyp(a, b) = a*a + b*b");
}

TEST_F(UserFunctionTest, ParametersAreLocalAndHideVariables) {
    Run("x = 100");
    Run("inc(x) = x + 1");
    EXPECT_EQ(Last("inc(1)"), "2");
    EXPECT_EQ(interpreter.Variables().Find("x")->Value, Variant(int32_t{100}));
    Run("@DEBUG");
    const std::vector<std::string> lines = Run("dbl(y) = y + y");
    Run("@DEBUG");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\tPUSH\tLocal(0)"), lines.end());
}

TEST_F(UserFunctionTest, NamesInTheBodyAreFoundWhenItRuns) {
    EXPECT_EQ(Last("g(x) = x + k"), "INT185");
    EXPECT_EQ(Last("g(1)"), "CVM120");
    Run("k = 10");
    EXPECT_EQ(Last("g(1)"), "11");
    Run("k = 20");
    EXPECT_EQ(Last("g(1)"), "21");
    EXPECT_EQ(Last("h(x) = later(x) * 2"), "INT185");
    EXPECT_EQ(Last("h(3)"), "CVM011");
    Run("later(x) = x + 1");
    EXPECT_EQ(Last("h(3)"), "8");
    Run("later(x) = x + 2");
    EXPECT_EQ(Last("h(3)"), "10");
}

TEST_F(UserFunctionTest, ArgumentCountsAreChecked) {
    Run("sq(x) = x * x");
    EXPECT_EQ(Last("sq(1, 2)"), "INT047");
    EXPECT_EQ(Last("sq"), "INT045");
    Run("w(x) = sq(x, 1)");
    EXPECT_EQ(Last("w(2)"), "CVM121");
    Run("v(x) = twice(x, x)");
    EXPECT_EQ(Last("v(2)"), "CVM121");
}

TEST_F(UserFunctionTest, RecursionTooDeepFailsWithTheStackErrorAndTheMachineGoesOn) {
    Run("r(x) = r(x + 1)");
    EXPECT_EQ(Last("r(1)"), "CVM002");
    Run("z() = z()");
    EXPECT_EQ(Last("z()"), "CVM002");
    Run("m(x) = 1 + n(x)");
    Run("n(x) = m(x) * 2");
    EXPECT_EQ(Last("m(0)"), "CVM002");
    EXPECT_EQ(Last("2 + 3"), "5");
    EXPECT_EQ(Last("sq(x) = x * x"), "INT185");
    EXPECT_EQ(Last("sq(5)"), "25");
}

TEST_F(UserFunctionTest, DeepChainOfCallsWithinTheStackSucceeds) {
    // Each level holds its argument and its two frame slots: 300 levels
    // take 900 of the 1023 slots.
    Run("f0(x) = x");
    for (int i = 1; i <= 300; ++i)
        Run("f" + std::to_string(i) + "(x) = f" + std::to_string(i - 1) + "(x) + 1");
    EXPECT_EQ(Last("f300(0)"), "300");
    EXPECT_EQ(Last("twice300(x) = f300(f300(x))"), "INT185");
    EXPECT_EQ(Last("twice300(1)"), "601");
    EXPECT_EQ(Last("f400(x) = f300(x) + 100"), "INT185");
    EXPECT_EQ(Last("g(x) = f400(f400(x))"), "INT185");
    EXPECT_EQ(Last("deeper(x) = g(x) * 0 + f300(f300(f300(x)))"), "INT185");
    EXPECT_EQ(Last("deeper(0)"), "900");
    // 345 levels would need 1038 slots.
    for (int i = 301; i <= 345; ++i)
        Run("f" + std::to_string(i) + "(x) = f" + std::to_string(i - 1) + "(x) + 1");
    EXPECT_EQ(Last("f335(0)"), "335");
    EXPECT_EQ(Last("f345(0)"), "CVM002");
}

struct TClash {
    const char* Line;
    const char* Code;
};

class UserFunctionClashTest : public UserFunctionTest, public ::testing::WithParamInterface<TClash> {};

TEST_P(UserFunctionClashTest, IsRefusedWithItsMessage) {
    Run("taken = 1");
    Run("fn(x) = x");
    EXPECT_EQ(Last(GetParam().Line), GetParam().Code);
    EXPECT_EQ(interpreter.UserFunctions().Count(), 1u);
    EXPECT_EQ(Last("fn(4)"), "4");
}

INSTANTIATE_TEST_SUITE_P(Names, UserFunctionClashTest,
                         ::testing::Values(TClash{"TWICE(x) = x", "INT181"}, TClash{"taken(x) = x", "INT182"},
                                           TClash{"TAKEN() = 1", "INT182"}, TClash{"fn = 3", "INT041"},
                                           TClash{"p(a, A) = a", "INT183"}, TClash{"p(a) = q = a", "INT184"},
                                           TClash{"p(a) =", "INT040"}, TClash{"p(a) = a +", "INT001"},
                                           TClash{"p(a) = nope(", "INT043"}));

TEST_F(UserFunctionTest, RedefinitionReplacesInPlaceAndListingShowsDefinitionsFirst) {
    Run("f(x) = x + 1");
    Run("g() = 2");
    EXPECT_EQ(Last("F(x) = x + 2"), "INT185");
    EXPECT_EQ(Last("f(1)"), "3");
    ASSERT_EQ(interpreter.UserFunctions().Count(), 2u);
    const std::vector<std::string> listing = Run("@FNC");
    ASSERT_GE(listing.size(), 4u);
    EXPECT_EQ(listing[0], "INT152");
    EXPECT_EQ(listing[1], "F(x) = x + 2");
    EXPECT_EQ(listing[2], "g() = 2");
    EXPECT_EQ(listing[3].substr(0, 5), "Twice");
}

TEST_F(UserFunctionTest, DeleteCommandRemovesAFunction) {
    Run("f(x) = x");
    EXPECT_EQ(Last("@DELVAR F"), "INT186");
    EXPECT_EQ(interpreter.UserFunctions().Count(), 0u);
    EXPECT_EQ(Last("f(1)"), "INT044");
    EXPECT_EQ(Last("@DELVAR f"), "INT124");
    Run("f = 5");
    EXPECT_EQ(Last("f"), "5");
}

TEST_F(UserFunctionTest, DefineFunctionLoadsADefinitionQuietly) {
    interpreter.DefineFunction("cube(x) = x * x * x");
    EXPECT_TRUE(interpreter.OutputLines().empty());
    EXPECT_EQ(Last("cube(3)"), "27");
    EXPECT_THROW(interpreter.DefineFunction("1 + 2"), EINError);
    EXPECT_THROW(interpreter.DefineFunction("twice(x) = x"), EINError);
    EXPECT_EQ(interpreter.UserFunctions().Count(), 1u);
}

// Lines that start with an operator that cannot start an expression.
struct TContinuation {
    const char* Line;
    const char* Result;
};

class ContinuationTest : public UserFunctionTest, public ::testing::WithParamInterface<TContinuation> {};

TEST_P(ContinuationTest, WorksOutTheLastResultFollowedByTheLine) {
    EXPECT_EQ(Last("12"), "12");
    EXPECT_EQ(Last(GetParam().Line), GetParam().Result);
}

INSTANTIATE_TEST_SUITE_P(Operators, ContinuationTest,
                         ::testing::Values(TContinuation{"*2", "24"}, TContinuation{"/ 8", "1.5"},
                                           TContinuation{"%5", "2"}, TContinuation{"& 4", "4"},
                                           TContinuation{"| 1", "13"}, TContinuation{"^ 15", "3"},
                                           TContinuation{"*2 + 1", "25"}, TContinuation{"+ 2 * 3", "6"},
                                           TContinuation{"-5", "-5"}, TContinuation{"+5", "5"},
                                           TContinuation{"* 2 * 3", "72"}, TContinuation{"*", "INT001"},
                                           TContinuation{"= 3", "INT001"}));

TEST_F(UserFunctionTest, ContinuationNeedsALastResultAndSkipsFailedLines) {
    EXPECT_EQ(Last("*2"), "INT001");
    EXPECT_EQ(Last("10"), "10");
    EXPECT_EQ(Last("1 / 0"), "CVM005");
    EXPECT_EQ(Last("@HEX"), "INT141");
    Run("@DEC");
    EXPECT_EQ(Last("*3"), "30");
    EXPECT_EQ(Last("*3"), "90");
    Run("f(x) = x");
    EXPECT_EQ(Last("/9"), "10");
}

}  // namespace
}  // namespace quenmark
