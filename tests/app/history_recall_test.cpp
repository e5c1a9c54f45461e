#include "app/history_recall.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace quenmark {
namespace {

enum class TKey { Up, Down };

// One key press: the text in the input before it (typed over what was
// shown when given), and the text shown after it.
struct TStep {
    TKey Key;
    const char* Typed;  // null: the input holds what the last step showed
    const char* Shown;
};

struct TWalk {
    const char* Name;
    std::vector<std::string> Entries;
    std::string Draft;
    std::vector<TStep> Steps;
    friend void PrintTo(const TWalk& walk, std::ostream* os) { *os << walk.Name; }
};

const TWalk Walks[] = {
    {"UpKeepsTheDraftAndDownGivesItBack", {"1", "2"}, "1+", {
        {TKey::Up, nullptr, "2"}, {TKey::Up, nullptr, "1"}, {TKey::Down, nullptr, "2"}, {TKey::Down, nullptr, "1+"}}},
    {"DownPastTheNewestGivesAnEmptyLineWhenNothingWasTyped", {"1", "2"}, "", {
        {TKey::Up, nullptr, "2"}, {TKey::Down, nullptr, ""}, {TKey::Down, nullptr, ""}}},
    {"TheWalkStopsAtTheOldest", {"1", "2"}, "", {
        {TKey::Up, nullptr, "2"}, {TKey::Up, nullptr, "1"}, {TKey::Up, nullptr, "1"}, {TKey::Down, nullptr, "2"}}},
    {"DownOnTheDraftChangesNothing", {"1"}, "typed", {{TKey::Down, nullptr, "typed"}, {TKey::Up, nullptr, "1"}}},
    {"AnEditedEntryKeepsItsEdit", {"1", "2", "3"}, "d", {
        {TKey::Up, nullptr, "3"}, {TKey::Up, "3*5", "2"}, {TKey::Up, nullptr, "1"}, {TKey::Down, nullptr, "2"},
        {TKey::Down, nullptr, "3*5"}, {TKey::Down, nullptr, "d"}}},
    {"AnEditUndoneByHandShowsTheEntry", {"1", "2"}, "", {
        {TKey::Up, nullptr, "2"}, {TKey::Up, "2x", "1"}, {TKey::Down, nullptr, "2x"}, {TKey::Up, "2", "1"},
        {TKey::Down, nullptr, "2"}}},
    {"TheDraftTypedOverIsTheOneGivenBack", {"1"}, "a", {
        {TKey::Up, nullptr, "1"}, {TKey::Down, nullptr, "a"}, {TKey::Up, "ab", "1"}, {TKey::Down, nullptr, "ab"}}},
    {"WithoutEntriesTheTextStays", {}, "typed", {{TKey::Up, nullptr, "typed"}, {TKey::Down, nullptr, "typed"}}},
};

class HistoryRecallWalk : public testing::TestWithParam<TWalk> {};

TEST_P(HistoryRecallWalk, ShowsWhatAShellShows) {
    const TWalk& walk = GetParam();
    THistoryRecall recall;
    std::string input = walk.Draft;
    for (size_t i = 0; i < walk.Steps.size(); ++i) {
        const TStep& step = walk.Steps[i];
        if (step.Typed) input = step.Typed;
        input = step.Key == TKey::Up ? recall.Up(walk.Entries, input) : recall.Down(walk.Entries, input);
        EXPECT_EQ(input, step.Shown) << "step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Walks, HistoryRecallWalk, testing::ValuesIn(Walks),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(HistoryRecallTest, ResetForgetsTheDraftAndTheEdits) {
    const std::vector<std::string> entries{"1", "2"};
    THistoryRecall recall;
    EXPECT_EQ(recall.Up(entries, "draft"), "2");
    EXPECT_EQ(recall.Up(entries, "2 edited"), "1");
    recall.Reset();
    EXPECT_EQ(recall.StepsBack(), 0u);
    EXPECT_EQ(recall.Up(entries, ""), "2");
    EXPECT_EQ(recall.Down(entries, "2"), "");
}

TEST(HistoryRecallTest, AHistoryThatShrankMeanwhileIsWalkedFromItsOldest) {
    THistoryRecall recall;
    const std::vector<std::string> three{"1", "2", "3"};
    recall.Up(three, "");
    recall.Up(three, "3");
    recall.Up(three, "2");
    EXPECT_EQ(recall.StepsBack(), 3u);
    const std::vector<std::string> one{"3"};
    EXPECT_EQ(recall.Down(one, "1"), "");
    EXPECT_EQ(recall.StepsBack(), 0u);
}

}  // namespace
}  // namespace quenmark
