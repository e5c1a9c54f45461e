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

// The entries as a writer of the history section visits them.
std::vector<std::string> Visited(const TInputHistory& history) {
    std::vector<std::string> entries;
    history.ForEach([&entries](std::string_view entry) { entries.emplace_back(entry); });
    return entries;
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
    // Long lines are compared whole, in every part of them.
    history.Enter("alpha = beta + gamma * delta", 3);
    history.Enter("alpha = beta + gamma * deltA", 3);
    history.Enter("Alpha = Beta + Gamma * Delta", 3);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"\xC3\xA9", "\xC3\x89", "Alpha = Beta + Gamma * Delta"}));
    history.Enter("alpha = beta + gamma * delt@", 3);
    EXPECT_EQ(history.Entries(),
              (std::vector<std::string>{"\xC3\x89", "Alpha = Beta + Gamma * Delta", "alpha = beta + gamma * delt@"}));
}

// Lines read in eight-byte words, in overlapping halves and byte by byte:
// every byte, where each of those reads it, replaces a line only when it
// is the same byte or the other case of a letter "a" to "z".
TEST(InputHistoryTest, OnlyTheCaseOfAToZIsIgnoredWhereverTheByteStands) {
    const std::string frames[] = {"?", "ab?d", "0123456789?bcd", "x?23456789abcdefgh"};
    for (const std::string& frame : frames) {
        const size_t at = frame.find('?');
        for (int first = 0; first < 256; ++first) {
            std::string line = frame;
            line[at] = static_cast<char>(first);
            for (const int second : {first, first ^ 0x20, first ^ 0x01}) {
                std::string other = frame;
                other[at] = static_cast<char>(second);
                TInputHistory history;
                history.Enter(line, 10);
                history.Enter(other, 10);
                const size_t expected = SameName(line, other) ? 1 : 2;
                ASSERT_EQ(history.Size(), expected) << "frame " << frame << ", bytes " << first << " and " << second;
            }
        }
    }
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
        for (int i = 0; i < 2000; ++i) {
            const std::string line = (i % 3 ? "v" : "V") + std::to_string((i * 7919) % 137);
            history.Enter(line, limit);
            EnterInModel(model, line, limit);
            ASSERT_EQ(history.Entries(), model) << "limit " << limit << ", line " << i;
            ASSERT_EQ(Visited(history), model) << "limit " << limit << ", line " << i;
            ASSERT_EQ(history.EnteredSince(0), model) << "limit " << limit << ", line " << i;
            ASSERT_EQ(history.Size(), model.size());
        }
        EXPECT_LE(history.SlotCount(), 3 * limit + TInputHistory::EmptySlotsAllowed + 1);
    }
}

// What a save merges: the entries entered after its mark, not the assigned
// ones nor those entered before it.
TEST(InputHistoryTest, EntriesEnteredSinceAMarkAreTheNewOnes) {
    TInputHistory history;
    history.Assign({"a", "b", "c"});
    EXPECT_TRUE(history.EnteredSince(history.EnteredCount()).empty());
    history.Enter("d", 10);
    const uint64_t mark = history.EnteredCount();
    history.Enter("A", 10);
    history.Enter("e", 10);
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"b", "c", "d", "A", "e"}));
    EXPECT_EQ(history.EnteredSince(mark), (std::vector<std::string>{"A", "e"}));
    EXPECT_EQ(history.EnteredSince(0), (std::vector<std::string>{"d", "A", "e"}));
}

TEST(InputHistoryTest, ALineLongerThanTheEntryLimitIsNotEntered) {
    const size_t limit = TInputHistory::MaxEntryBytes;
    const struct {
        size_t Length;
        bool Entered;
    } rows[] = {{limit - 1, true}, {limit, true}, {limit + 1, false}, {100 * limit, false}};
    for (const auto& row : rows) {
        TInputHistory history;
        history.Assign({"a"});
        const uint64_t mark = history.EnteredCount();
        const std::string line(row.Length, 'x');
        history.Enter(line, 10);
        EXPECT_EQ(history.Size(), row.Entered ? 2u : 1u) << row.Length;
        EXPECT_EQ(history.EnteredSince(mark).size(), row.Entered ? 1u : 0u) << row.Length;
        EXPECT_EQ(history.Entries().front(), "a") << row.Length;
    }
}

}  // namespace
}  // namespace quenmark
