#include "expression/interpreter.h"

#include <gtest/gtest.h>

#include "base/exception.h"
#include "support/echo_messages.h"
#include "vm/number_text.h"

namespace quenmark {
namespace {

// An interpreter with a default context of its own: no messages, "." and ",".
class InterpreterTest : public ::testing::Test {
protected:
    std::vector<std::string> Run(const std::string& line) {
        interpreter.OutputLines().clear();
        interpreter.ProcessLine(line);
        return interpreter.OutputLines();
    }

    TCCInterpreter interpreter;
};

TEST_F(InterpreterTest, StartsInDecimalModeWithoutMaskOrDebug) {
    EXPECT_EQ(interpreter.GetOutputMode(), OutputMode::DEC);
    EXPECT_EQ(interpreter.FormatMask(), "");
    EXPECT_FALSE(interpreter.DebugMode());
    EXPECT_EQ(interpreter.LastResult(), Variant(int32_t{0}));
    EXPECT_EQ(TCCInterpreter::GetLevel(), "Interpreter Level 1A");
}

TEST_F(InterpreterTest, EmptyLineProducesNothing) {
    EXPECT_TRUE(Run("").empty());
    EXPECT_TRUE(Run("   ").empty());
    EXPECT_FALSE(interpreter.LastWasExpression());
}

TEST_F(InterpreterTest, ExpressionSetsLastResult) {
    EXPECT_EQ(Run("x = 2 + 3 * 4"), std::vector<std::string>{"14"});
    EXPECT_TRUE(interpreter.LastWasExpression());
    EXPECT_EQ(interpreter.LastResult(), Variant(int32_t{14}));
    EXPECT_EQ(interpreter.Variables().Find("X")->Value, Variant(int32_t{14}));
}

TEST_F(InterpreterTest, CommandResetsLastResult) {
    Run("5");
    Run("@DEC");
    EXPECT_FALSE(interpreter.LastWasExpression());
    EXPECT_EQ(interpreter.LastResult(), Variant(int32_t{0}));
}

TEST_F(InterpreterTest, RunTimeErrorLeavesZeroResult) {
    Run("7");
    EXPECT_EQ(Run("1 / 0"), std::vector<std::string>{"CVM005"});
    EXPECT_TRUE(interpreter.LastWasExpression());
    EXPECT_EQ(interpreter.LastResult(), Variant(int32_t{0}));
}

TEST_F(InterpreterTest, AssignmentThatDoesNotCompileLeavesTheVariablesAsTheyWere) {
    Run("kept = 1");
    const struct {
        const char* Line;
        const char* Absent;  // a name the line must not leave behind
    } rows[] = {
        {"fresh = 1 +", "fresh"},
        {"zz=)", "zz"},
        {"kept = )", "other"},
        {"outer = (inner = 2) +", "inner"},
        {"outer = (inner = 2) +", "outer"},
        {"fresh = fresh + nosuch", "fresh"},
        {"a = b = c = (", "b"},
    };
    for (const auto& row : rows) {
        const size_t count = interpreter.Variables().Count();
        EXPECT_THROW(Run(row.Line), EINError) << row.Line;
        EXPECT_EQ(interpreter.Variables().Count(), count) << row.Line;
        EXPECT_EQ(interpreter.Variables().Find(row.Absent), nullptr) << row.Line;
        ASSERT_NE(interpreter.Variables().Find("kept"), nullptr) << row.Line;
        EXPECT_EQ(interpreter.Variables().Find("kept")->Value, Variant(int32_t{1})) << row.Line;
    }
    // A line that compiles still creates its target before reading it.
    EXPECT_EQ(Run("fresh = fresh + 5"), std::vector<std::string>{"5"});
    ASSERT_NE(interpreter.Variables().Find("fresh"), nullptr);
}

TEST_F(InterpreterTest, AssignmentThatFailsWhileRunningCreatesNoTarget) {
    Run("kept = 1");
    const struct {
        const char* Line;
        const char* Absent;
    } rows[] = {
        {"y = 1 / 0", "y"},
        {"outer = (inner = 2) + 1 / 0", "inner"},
        {"outer = (inner = 2) + 1 / 0", "outer"},
        {"s = \"a\" - 1", "s"},
    };
    for (const auto& row : rows) {
        const size_t count = interpreter.Variables().Count();
        Run(row.Line);
        EXPECT_EQ(interpreter.Variables().Count(), count) << row.Line;
        EXPECT_EQ(interpreter.Variables().Find(row.Absent), nullptr) << row.Line;
    }
    // An existing target keeps its value.
    Run("kept = 1 / 0");
    ASSERT_NE(interpreter.Variables().Find("kept"), nullptr);
    EXPECT_EQ(interpreter.Variables().Find("kept")->Value, Variant(int32_t{1}));
}

TEST_F(InterpreterTest, CommandsChangeModeAndMask) {
    Run("@hex");
    EXPECT_EQ(interpreter.GetOutputMode(), OutputMode::HEX);
    Run("@FORMAT \"0.00\"");
    EXPECT_EQ(interpreter.FormatMask(), "0.00");
    Run("m = \"#,##0\"");
    Run("@format m");
    EXPECT_EQ(interpreter.FormatMask(), "#,##0");
    Run("@FORMAT \"\"");
    EXPECT_EQ(interpreter.FormatMask(), "");
}

TEST_F(InterpreterTest, FailingCommandChangesNothing) {
    Run("n = 5");
    EXPECT_THROW(Run("@FORMAT n"), EINError);
    EXPECT_THROW(Run("@BIN 1"), EINError);
    EXPECT_EQ(interpreter.FormatMask(), "");
    EXPECT_EQ(interpreter.GetOutputMode(), OutputMode::DEC);
}

TEST_F(InterpreterTest, DeleteAllKeepsConstantsAndProtectedInOrder) {
    interpreter.Variables().RegisterConstant("pi", Variant(3.14));
    Run("a = 1");
    Run("b = 2");
    Run("c = 3");
    Run("@PROTECT b");
    Run("@DELVARALL");
    ASSERT_EQ(interpreter.Variables().Count(), 2u);
    EXPECT_EQ(interpreter.Variables()[0].Name, "pi");
    EXPECT_EQ(interpreter.Variables()[1].Name, "b");
}

// Two interpreters side by side, each in its own context: errors and
// numbers follow the context each was made with, and nothing else.
TEST(InterpreterContextTest, EachInterpreterWorksInItsOwnContext) {
    const testing::EchoContext echoed;
    const TCCContext comma(NumberSeparators{",", "."});
    TCCInterpreter first(echoed);
    TCCInterpreter second(comma);
    const auto errorOf = [](TCCInterpreter& interpreter, const std::string& line) {
        try {
            interpreter.ProcessLine(line);
        } catch (const EINError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf(first, "nosuch"), "INT044: nosuch");
    EXPECT_EQ(errorOf(second, "nosuch"), "INT044");
    first.ProcessLine("1.5");
    second.ProcessLine("1.5");
    EXPECT_EQ(first.OutputLines().back(), "1.5");
    EXPECT_EQ(second.OutputLines().back(), "1,5");
    EXPECT_EQ(&second.Context(), &comma);
}

// A request stops the line of the interpreter it was made to and no other:
// for each of two interpreters in turn, the interrupted one fails its line
// with CVM040 while the other runs the same line as usual.
TEST(InterpreterInterruptTest, EachInterpreterHasItsOwnRequest) {
    for (int interrupted = 0; interrupted < 2; ++interrupted) {
        SCOPED_TRACE(interrupted);
        TCCInterpreter interpreters[2];
        TCCInterpreter& stopped = interpreters[interrupted];
        TCCInterpreter& running = interpreters[1 - interrupted];
        stopped.LineInterrupt().Request();
        EXPECT_FALSE(running.LineInterrupt().Requested());

        EXPECT_TRUE(running.ProcessLine("x = 2 + 3"));
        EXPECT_EQ(running.LastResult(), Variant(int32_t{5}));
        EXPECT_FALSE(stopped.ProcessLine("x = 2 + 3"));
        ASSERT_FALSE(stopped.OutputLines().empty());
        EXPECT_EQ(stopped.OutputLines().back(), "CVM040");

        stopped.LineInterrupt().Clear();
        EXPECT_TRUE(stopped.ProcessLine("x = 2 + 3"));
        EXPECT_EQ(stopped.LastResult(), Variant(int32_t{5}));
    }
}

}  // namespace
}  // namespace quenmark
