#include "app/module_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module_test_support.h"

namespace quenmark {
namespace {

using Lines = std::vector<std::string>;

struct JoinCase {
    const char* rule;
    Lines before;
    std::string text;
    Lines after;
};

class JoinOutputTextTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinOutputTextTest, JoinsAndSplitsAtEveryLineBreak) {
    const JoinCase& row = GetParam();
    EXPECT_EQ(JoinOutputText(row.before, row.text), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    ModuleOutput, JoinOutputTextTest,
    ::testing::Values(
        JoinCase{"text_becomes_a_line", {}, "a", {"a"}},
        JoinCase{"text_starts_a_line_of_its_own", {"a"}, "b", {"a", "b"}},
        JoinCase{"line_feed_starts_a_line", {}, "a\nb", {"a", "b"}},
        JoinCase{"carriage_return_and_line_feed_is_one_break", {}, "a\r\nb", {"a", "b"}},
        JoinCase{"lone_carriage_return_starts_a_line", {}, "a\rb", {"a", "b"}},
        JoinCase{"line_feed_then_carriage_return_is_two_breaks", {}, "a\n\rb", {"a", "", "b"}},
        JoinCase{"break_at_the_end_gives_no_empty_line", {"x"}, "a\n", {"x", "a"}},
        JoinCase{"empty_lines_inside_stay", {}, "a\r\n\r\nb", {"a", "", "b"}},
        JoinCase{"empty_text_adds_nothing", {"x"}, "", {"x"}},
        JoinCase{"empty_text_on_no_lines_gives_none", {}, "", {}},
        JoinCase{"single_break_gives_one_empty_line", {}, "\r\n", {""}},
        JoinCase{"earlier_empty_lines_stay", {"", "x"}, "y", {"", "x", "y"}}),
    [](const ::testing::TestParamInfo<JoinCase>& row) { return std::string(row.param.rule); });

class ModuleOutputTest : public ::testing::Test {
protected:
    void SetUp() override { SetModuleOutputLines(&lines); }
    void TearDown() override { SetModuleOutputLines(nullptr); }
    Lines lines{"first"};
};

TEST_F(ModuleOutputTest, TakesTheTextUpToItsZeroByteAndAtMostLengthCharacters) {
    EXPECT_EQ(ModuleOutput("abcdef", 3), -1);
    EXPECT_EQ(ModuleOutput("ab\0cd", 5), -1);
    EXPECT_EQ(lines, (Lines{"first", "abc", "ab"}));
}

TEST_F(ModuleOutputTest, NothingToTakeAddsNoLine) {
    EXPECT_EQ(ModuleOutput("text", 0), -1);
    EXPECT_EQ(ModuleOutput("text", -5), -1);
    EXPECT_EQ(ModuleOutput(nullptr, 4), -1);
    EXPECT_EQ(lines, (Lines{"first"}));
}

TEST_F(ModuleOutputTest, WithoutOutputLinesTheTextIsDropped) {
    SetModuleOutputLines(nullptr);
    EXPECT_EQ(ModuleOutputLines(), nullptr);
    EXPECT_EQ(ModuleOutput("lost", 4), -1);
    EXPECT_EQ(lines, (Lines{"first"}));
}

struct ModuleCallCase {
    const char* rule;
    const char* line;
    Lines output;
};

class ModuleOutputThroughAModuleTest : public ::testing::TestWithParam<ModuleCallCase> {};

TEST_P(ModuleOutputThroughAModuleTest, JoinsTheOutputOfTheCurrentLine) {
    testing::ModuleDirectory directory("output_module");
    directory.Copy("valid");
    testing::ModuleSession session(directory.Path());
    EXPECT_EQ(session.Run(GetParam().line), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    ModuleOutput, ModuleOutputThroughAModuleTest,
    ::testing::Values(
        ModuleCallCase{"line_break_inside_the_text", "Out(1)", {"a", "b", "1"}},
        ModuleCallCase{"two_calls_without_breaks", "Out(2)", {"a", "b", "2"}},
        ModuleCallCase{"every_kind_of_break", "Out(3)", {"x", "y", "z", "3"}},
        ModuleCallCase{"cut_to_the_length_given", "Out(4)", {"abc", "4"}},
        ModuleCallCase{"ends_at_the_zero_byte", "Out(5)", {"ab", "5"}},
        ModuleCallCase{"empty_text", "Out(6)", {"6"}},
        ModuleCallCase{"empty_line_inside", "Out(7)", {"a", "", "b", "7"}},
        ModuleCallCase{"negative_length", "Out(8)", {"8"}},
        ModuleCallCase{"each_call_of_a_line_adds_to_it", "Out(1) + Out(2)", {"a", "b", "a", "b", "3"}}),
    [](const ::testing::TestParamInfo<ModuleCallCase>& row) { return std::string(row.param.rule); });

}  // namespace
}  // namespace quenmark
