#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/input_history.h"
#include "app/line_block.h"
#include "app/settings_save.h"
#include "definitions/profile_text.h"
#include "vm/variable_list.h"

namespace quenmark {

class TSettings;

// What this copy of the program changed in its variables and history since
// it loaded them or last saved them, and the merge of those changes into
// the settings file as it is now, which another copy may have saved since.
// Changes are found by comparing the variable table with the saved lines
// of the last load or save, so the engine needs no hooks.
class TSessionChanges {
public:
    // The variables as they are now become the baseline: nothing changed.
    void NoteVariablesSaved(const TVMVariableList& variables);
    // A line entered into the history. Only the newest maxHistory distinct
    // entries can survive a merge, so no more than about twice that are kept.
    void NoteHistoryEntry(const std::string& entry, int32_t maxHistory);
    // The history this copy enters its lines into: from now on the entries
    // added since the last save are read from it at the merge, which keeps
    // the newest maxHistory distinct ones as NoteHistoryEntry would, and
    // NoteHistoryEntry is not called.
    void FollowHistory(const TInputHistory& history);

    // Merges into the file's sections: variables this copy assigned,
    // protected or deleted win, the others keep the file's lines; entries
    // this copy added go after the file's history, then the newest
    // MaxHistory are kept. A section whose setting is off is emptied. When a
    // value cannot be saved, the variables section stays as it is.
    void MergeInto(TProfileText& file, const TSettings& settings, const TVMVariableList& variables) const;
    // The two section merges MergeInto applies, for a save that reads and
    // writes the file line by line. They read the settings, the table and
    // the history when they run.
    TSectionMerge VariablesMerge(const TSettings& settings, const TVMVariableList& variables) const;
    TSectionMerge HistoryMerge(const TSettings& settings) const;

    // Whether a save would keep anything this copy changed: a variable
    // assigned, protected or deleted, or a history entry, each where the
    // settings keep them.
    bool HasChanges(const TSettings& settings, const TVMVariableList& variables) const;

    // After a save of MergeInto's result.
    void NoteSaved(const TVMVariableList& variables);

private:
    std::vector<std::string> AddedHistory(int32_t maxHistory) const;

    TLineBlock FSavedVariableLines;
    // The table's change count when the baseline was taken; none before.
    std::optional<uint64_t> FSavedAtChange;
    std::vector<std::string> FAddedHistory;
    const TInputHistory* FHistory = nullptr;
    uint64_t FHistoryMark = 0;  // the history's EnteredCount at the last save
};

// The saved lines of every variable that is not a constant, in table order.
// Throws like EncodeVariableLine.
std::vector<std::string> VariableLines(const TVMVariableList& variables);
TLineBlock VariableLineBlock(const TVMVariableList& variables);

// The variables section after a merge. Lines are matched by variable name,
// without regard to letter case: a name whose lines differ between baseline
// and current was changed here, and its lines in the file are replaced by
// the current ones (none for a deleted variable) at the place of the
// first; new names follow at the end. Lines of other names, and lines
// whose name cannot be read, stay as the file has them.
std::vector<std::string> MergeVariableLines(const std::vector<std::string>& fileLines,
                                            const std::vector<std::string>& baseline,
                                            const std::vector<std::string>& current);
// The same put out line by line, with the file's lines read as they go by
// and the other two kept compactly.
void MergeVariableLinesInto(const TSectionLines& fileLines, const TLineBlock& baseline, const TLineBlock& current,
                            const TLineVisitor& out);

// The history after a merge: the file's entries, then each added entry,
// which replaces an earlier entry of the same text; then the newest
// maxHistory entries. Without added entries the file's history stays whole.
std::vector<std::string> MergeHistory(std::vector<std::string> fileEntries, const std::vector<std::string>& added,
                                      int32_t maxHistory);
// The same on the file's saved lines, putting out saved lines; damaged
// lines of the file are left out.
void MergeHistoryInto(const TSectionLines& fileLines, const std::vector<std::string>& added, int32_t maxHistory,
                      const TLineVisitor& out);

}  // namespace quenmark
