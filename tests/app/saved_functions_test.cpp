// The "Functions" section: encoding of a definition, the name of a saved
// line and the merge of this copy's changes into the file's section.
#include "app/saved_functions.h"

#include <gtest/gtest.h>

#include "app/history_section.h"

namespace quenmark {
namespace {

std::string Line(const std::string& definition) { return EncodeHistoryLine(definition); }

TEST(SavedFunctionsTest, ALineIsTheDefinitionEncodedAsAHistoryLine) {
    TVMUserFunction function;
    function.Name = "sq";
    function.Definition = "sq(x) = x * x";
    EXPECT_EQ(EncodeFunctionLine(function), EncodeHistoryLine("sq(x) = x * x"));
    EXPECT_EQ(DecodeHistoryLine(EncodeFunctionLine(function)), "sq(x) = x * x");
    EXPECT_EQ(FunctionLineName(EncodeFunctionLine(function)), "SQ");
    EXPECT_EQ(FunctionLineName(Line("  Hyp (a, b) = a")), "HYP");
    EXPECT_EQ(FunctionLineName(";XYZ"), std::nullopt);
    EXPECT_EQ(FunctionLineName(Line("no parenthesis")), std::nullopt);
}

struct TMergeRow {
    const char* Behaviour;
    std::vector<std::string> File, Baseline, Current, Expected;
};

class FunctionMergeTest : public ::testing::TestWithParam<TMergeRow> {};

TEST_P(FunctionMergeTest, KeepsTheOtherCopysLinesAndTakesOurChanges) {
    const TMergeRow& row = GetParam();
    std::vector<std::string> file, baseline, current, expected;
    for (const auto& text : row.File) file.push_back(text == "<damaged>" ? ";ZZ" : Line(text));
    for (const auto& text : row.Baseline) baseline.push_back(Line(text));
    for (const auto& text : row.Current) current.push_back(Line(text));
    for (const auto& text : row.Expected) expected.push_back(text == "<damaged>" ? ";ZZ" : Line(text));
    EXPECT_EQ(MergeFunctionLines(file, baseline, current), expected) << row.Behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FunctionMergeTest,
    ::testing::Values(
        TMergeRow{"nothing changed", {"f(x) = 1", "g(x) = 2"}, {"f(x) = 1"}, {"f(x) = 1"}, {"f(x) = 1", "g(x) = 2"}},
        TMergeRow{"both define", {"g(x) = 2"}, {}, {"f(x) = 1"}, {"g(x) = 2", "f(x) = 1"}},
        TMergeRow{"redefined here in place", {"f(x) = 1", "g(x) = 2"}, {"f(x) = 1"}, {"F(x) = 9"},
                  {"F(x) = 9", "g(x) = 2"}},
        TMergeRow{"deleted here", {"f(x) = 1", "g(x) = 2"}, {"f(x) = 1", "g(x) = 2"}, {"g(x) = 2"}, {"g(x) = 2"}},
        TMergeRow{"the other copy's redefinition stays", {"f(x) = 5"}, {"f(x) = 1"}, {"f(x) = 1"}, {"f(x) = 5"}},
        TMergeRow{"a damaged line stays", {"<damaged>", "f(x) = 1"}, {}, {"h() = 3"},
                  {"<damaged>", "f(x) = 1", "h() = 3"}},
        TMergeRow{"a line that failed to load stays", {"sin(x) = x"}, {}, {}, {"sin(x) = x"}}));

}  // namespace
}  // namespace quenmark
