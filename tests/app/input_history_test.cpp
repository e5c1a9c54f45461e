#include "app/input_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/names.h"

namespace quenmark {
namespace {

// The history rules applied to a plain list, entry by entry.
void EnterInModel(std::vector<std::string>& model, const std::string& line, size_t limit) {
    std::erase_if(model, [&line](const std::string& entry) { return SameName(entry, line); });
    model.push_back(line);
    if (model.size() > limit) model.erase(model.begin(), model.end() - static_cast<std::ptrdiff_t>(limit));
}

// A copy that follows the slots as the prepared save does.
void Follow(const TInputHistory& history, std::vector<std::string>& slots) {
    std::vector<size_t> removed;
    if (history.TakeRemovedSlots(removed)) slots.clear();
    for (size_t slot : removed)
        if (slot < slots.size()) slots[slot] = "-";
    for (size_t slot = slots.size(); slot < history.SlotCount(); ++slot)
        slots.push_back(history.Slot(slot) ? *history.Slot(slot) : "-");
}

std::vector<std::string> LiveSlots(const std::vector<std::string>& slots) {
    std::vector<std::string> live;
    for (const std::string& slot : slots)
        if (slot != "-") live.push_back(slot);
    return live;
}

TEST(InputHistoryTest, ReenteredEntryMovesToTheEndWithoutLetterCaseAndTheOldestGo) {
    TInputHistory history;
    history.Assign({"a", "b", "c"});
    history.Enter("B", 3);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"a", "c", "B"}));
    history.Enter("d", 3);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"c", "B", "d"}));
    history.Enter("\xC3\xA9", 3);  // only "a" to "z" change case
    history.Enter("\xC3\x89", 3);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"d", "\xC3\xA9", "\xC3\x89"}));
}

TEST(InputHistoryTest, AssignedRepeatsAreAllReplacedByTheNewEntry) {
    TInputHistory history;
    history.Assign({"x", "y", "X"});
    history.Enter("x", 10);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"y", "x"}));
}

TEST(InputHistoryTest, FollowsTheListRulesAtTheLimitThroughEveryCloseUp) {
    for (size_t limit : {size_t{0}, size_t{1}, size_t{5}, size_t{100}}) {
        TInputHistory history;
        std::vector<std::string> model;
        std::vector<std::string> follower;
        for (int i = 0; i < 2000; ++i) {
            const std::string line = (i % 3 ? "v" : "V") + std::to_string((i * 7919) % 137);
            history.Enter(line, limit);
            EnterInModel(model, line, limit);
            Follow(history, follower);
            ASSERT_EQ(history.Entries(), model) << "limit " << limit << ", line " << i;
            ASSERT_EQ(LiveSlots(follower), model) << "limit " << limit << ", line " << i;
            ASSERT_EQ(history.Size(), model.size());
        }
        EXPECT_LE(history.SlotCount(), 3 * limit + TInputHistory::RemovedLimit + 1);
    }
}

}  // namespace
}  // namespace quenmark
