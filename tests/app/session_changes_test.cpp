#include "app/session_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/history_section.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "definitions/profile.h"

namespace quenmark {
namespace {

using Lines = std::vector<std::string>;

std::string Line(const std::string& name, int value, bool isProtected = false) {
    return EncodeVariableLine(TVMVariable(name, Variant(value), false, isProtected));
}

TEST(VariableMergeTest, ChangesOfThisCopyWinAndOthersAreKept) {
    const struct {
        const char* Behaviour;
        Lines File, Baseline, Current, Merged;
    } rows[] = {
        {"nothing changed keeps the file", {Line("a", 1), Line("b", 2)}, {Line("a", 1)}, {Line("a", 1)},
         {Line("a", 1), Line("b", 2)}},
        {"an assignment replaces the file's line in place", {Line("a", 1), Line("b", 7)}, {Line("a", 1), Line("b", 2)},
         {Line("a", 1), Line("b", 3)}, {Line("a", 1), Line("b", 3)}},
        {"a new variable goes after the file's", {Line("a", 1)}, {}, {Line("c", 5)}, {Line("a", 1), Line("c", 5)}},
        {"a deleted variable goes", {Line("a", 1), Line("b", 2)}, {Line("a", 1), Line("b", 2)}, {Line("a", 1)},
         {Line("a", 1)}},
        {"protection counts as a change", {Line("a", 9)}, {Line("a", 1)}, {Line("a", 1, true)}, {Line("a", 1, true)}},
        {"another copy's deletion of an untouched variable stays", {}, {Line("a", 1)}, {Line("a", 1)}, {}},
        {"names match without regard to letter case", {Line("X", 1)}, {Line("x", 1)}, {Line("x", 2)}, {Line("x", 2)}},
        {"a damaged line in the file is kept", {";zz", Line("a", 1)}, {}, {Line("a", 2)}, {";zz", Line("a", 2)}},
        {"every line of a changed name is replaced", {Line("a", 1), Line("b", 2), Line("a", 3)}, {Line("a", 1)},
         {Line("a", 4)}, {Line("a", 4), Line("b", 2)}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MergeVariableLines(row.File, row.Baseline, row.Current), row.Merged) << row.Behaviour;
}

TEST(HistoryMergeTest, AddedEntriesFollowTheFilesThenTheLimit) {
    const struct {
        const char* Behaviour;
        Lines File, Added;
        int32_t Max;
        Lines Merged;
    } rows[] = {
        {"nothing added keeps the file whole, even over the limit", {"1", "2", "3"}, {}, 2, {"1", "2", "3"}},
        {"added entries go after the file's", {"1", "2"}, {"a", "b"}, 10, {"1", "2", "a", "b"}},
        {"an added entry replaces an earlier equal one", {"x = 1", "2"}, {"X = 1"}, 10, {"2", "X = 1"}},
        {"the newest are kept", {"1", "2", "3"}, {"a"}, 2, {"3", "a"}},
        {"an entry added twice keeps its newest place", {"1"}, {"a", "b", "A"}, 10, {"1", "b", "A"}},
        {"a limit of zero keeps nothing", {"1"}, {"a"}, 0, {}},
    };
    for (const auto& row : rows) EXPECT_EQ(MergeHistory(row.File, row.Added, row.Max), row.Merged) << row.Behaviour;
}

// The wiring: both sections of a file another copy saved meanwhile.
TEST(SessionChangesTest, MergesBothSectionsOfTheFile) {
    TVMVariableList variables;
    variables.Add("kept", Variant(1));
    TSessionChanges changes;
    changes.NoteVariablesSaved(variables);
    variables.Add("mine", Variant(2));
    changes.NoteHistoryEntry("mine = 2", 50);

    TProfileText file;
    ReplaceSectionLines(file, VariablesSection, {Line("kept", 1), Line("theirs", 3)});
    ReplaceSectionLines(file, HistorySection, {EncodeHistoryLine("theirs = 3")});
    const TSettings settings("unused.cfg");
    changes.MergeInto(file, settings, variables);

    Lines merged;
    AppendSectionLines(file, VariablesSection, merged);
    EXPECT_EQ(merged, (Lines{Line("kept", 1), Line("theirs", 3), Line("mine", 2)}));
    merged.clear();
    AppendSectionLines(file, HistorySection, merged);
    EXPECT_EQ(merged, (Lines{EncodeHistoryLine("theirs = 3"), EncodeHistoryLine("mine = 2")}));

    changes.NoteSaved(variables);
    TProfileText again = file;
    changes.MergeInto(again, settings, variables);
    EXPECT_EQ(again.Contents(), file.Contents()) << "after a save nothing is left to merge";
}

// A file whose variables nobody here changed keeps its section as it is;
// a noted write of a value is a change again.
TEST(SessionChangesTest, OnlyAChangedTableRewritesTheVariables) {
    TVMVariableList variables;
    TVMVariable& mine = variables.Add("mine", Variant(1));
    TSessionChanges changes;
    changes.NoteVariablesSaved(variables);
    TProfileText file;
    ReplaceSectionLines(file, VariablesSection, {";zz", Line("theirs", 3)});
    const TSettings settings("unused.cfg");

    TProfileText unchanged = file;
    changes.MergeInto(unchanged, settings, variables);
    Lines section;
    AppendSectionLines(unchanged, VariablesSection, section);
    EXPECT_EQ(section, (Lines{";zz", Line("theirs", 3)}));

    mine.Value = Variant(2);
    variables.NoteChanged(mine);
    changes.MergeInto(file, settings, variables);
    section.clear();
    AppendSectionLines(file, VariablesSection, section);
    EXPECT_EQ(section, (Lines{";zz", Line("theirs", 3), Line("mine", 2)}));
}

// Read from the history it follows, the added entries merge as the list of
// every line entered would: re-entered lines, the limit, and a limit of zero.
TEST(SessionChangesTest, AFollowedHistoryMergesAsEveryEnteredLine) {
    for (const int32_t max : {0, 3, 50}) {
        TInputHistory history;
        history.Assign({"old", "x"});
        TSessionChanges changes;
        changes.FollowHistory(history);
        Lines entered;
        for (const char* line : {"a", "X", "b", "A", "c", "d", "b"}) {
            history.Enter(line, static_cast<size_t>(max));
            entered.push_back(line);
        }
        TProfileText file;
        ReplaceSectionLines(file, HistorySection, {EncodeHistoryLine("theirs"), EncodeHistoryLine("x")});
        TSettings settings("unused.cfg");
        settings.MaxHistory = max;
        const TVMVariableList variables;
        changes.MergeInto(file, settings, variables);
        Lines expected;
        for (const std::string& entry : MergeHistory({"theirs", "x"}, entered, max))
            expected.push_back(EncodeHistoryLine(entry));
        Lines merged;
        AppendSectionLines(file, HistorySection, merged);
        EXPECT_EQ(merged, expected) << "MaxHistory " << max;
    }
}

// Only what a save keeps counts as a change: an assigned, protected or
// deleted variable, an entered line, each while its setting keeps it.
TEST(SessionChangesTest, TellsWhetherASaveWouldKeepAnything) {
    enum Change { None, Assign, Protect, Delete, EnterLine };
    const struct {
        const char* Behaviour;
        Change What;
        bool SaveVariables, SaveHistory;
        bool Changed;
    } rows[] = {
        {"nothing", None, true, true, false},
        {"an assignment", Assign, true, true, true},
        {"a protection", Protect, true, true, true},
        {"a deletion", Delete, true, true, true},
        {"an entered line", EnterLine, true, true, true},
        {"an assignment that is not saved", Assign, false, true, false},
        {"a line that is not saved", EnterLine, true, false, false},
    };
    for (const auto& row : rows) {
        TVMVariableList variables;
        TVMVariable& mine = variables.Add("mine", Variant(1));
        TInputHistory history;
        TSessionChanges changes;
        changes.NoteVariablesSaved(variables);
        changes.FollowHistory(history);
        TSettings settings("unused.cfg");
        settings.SaveVariables = row.SaveVariables;
        settings.SaveHistory = row.SaveHistory;
        switch (row.What) {
        case None: break;
        case Assign: mine.Value = Variant(2); variables.NoteChanged(mine); break;
        case Protect: mine.IsProtected = true; variables.NoteChanged(mine); break;
        case Delete: variables.Delete(0); break;
        case EnterLine: history.Enter("1+1", 50); break;
        }
        EXPECT_EQ(changes.HasChanges(settings, variables), row.Changed) << row.Behaviour;
        changes.NoteSaved(variables);
        EXPECT_FALSE(changes.HasChanges(settings, variables)) << row.Behaviour << ", after the save";
    }
}

}  // namespace
}  // namespace quenmark
