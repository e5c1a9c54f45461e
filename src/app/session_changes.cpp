#include "app/session_changes.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/hex_codec.h"
#include "app/history_section.h"
#include "app/saved_variables.h"
#include "app/settings.h"
#include "definitions/profile.h"
#include "base/exception.h"
#include "base/names.h"
#include "vm/name_index.h"

namespace quenmark {

namespace {

// The capitalised name of a saved variable line; nothing for a damaged line.
std::optional<std::string> LineName(const std::string& line) {
    if (line.empty() || line.front() != ';') return std::nullopt;
    std::string_view digits(line);
    digits.remove_prefix(1);
    try {
        return UpperCase(DecodeString(digits));
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// The lines of each name, in their order; the lines stay in their vector.
using TLinesByName = std::unordered_map<std::string, std::vector<const std::string*>>;

TLinesByName GroupByName(const std::vector<std::string>& lines) {
    TLinesByName groups;
    groups.reserve(lines.size());
    for (const std::string& line : lines)
        if (auto name = LineName(line)) groups[std::move(*name)].push_back(&line);
    return groups;
}

bool SameLines(const std::vector<const std::string*>& a, const std::vector<const std::string*>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const std::string* x, const std::string* y) { return *x == *y; });
}

std::unordered_set<std::string> ChangedNames(const TLinesByName& baseline, const TLinesByName& current) {
    std::unordered_set<std::string> changed;
    static const std::vector<const std::string*> none;
    const auto linesOf = [](const TLinesByName& groups,
                            const std::string& name) -> const std::vector<const std::string*>& {
        const auto it = groups.find(name);
        return it == groups.end() ? none : it->second;
    };
    for (const auto* groups : {&baseline, &current})
        for (const auto& [name, lines] : *groups)
            if (!SameLines(linesOf(baseline, name), linesOf(current, name))) changed.insert(name);
    return changed;
}

std::vector<std::string> DecodedHistory(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (const std::string& line : lines) {
        try {
            entries.push_back(DecodeHistoryLine(line));
        } catch (const Exception&) {
            // a damaged line would be skipped at the next load too
        }
    }
    return entries;
}

}  // namespace

std::vector<std::string> VariableLines(const TVMVariableList& variables) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < variables.Count(); ++i)
        if (!variables[i].IsConstant) lines.push_back(EncodeVariableLine(variables[i]));
    return lines;
}

std::vector<std::string> MergeVariableLines(const std::vector<std::string>& fileLines,
                                            const std::vector<std::string>& baseline,
                                            const std::vector<std::string>& current) {
    const TLinesByName ours = GroupByName(current);
    const std::unordered_set<std::string> changed = ChangedNames(GroupByName(baseline), ours);
    std::unordered_set<std::string> written;
    std::vector<std::string> merged;
    merged.reserve(fileLines.size() + current.size());
    const auto writeOurs = [&](const std::string& name) {
        if (!written.insert(name).second) return;
        if (const auto it = ours.find(name); it != ours.end())
            for (const std::string* line : it->second) merged.push_back(*line);
    };
    for (const std::string& line : fileLines) {
        const auto name = LineName(line);
        if (!name || !changed.count(*name)) merged.push_back(line);
        else writeOurs(*name);
    }
    for (const std::string& line : current)
        if (const auto name = LineName(line); name && changed.count(*name)) writeOurs(*name);
    return merged;
}

// Each text keeps only its newest entry: walking the added entries from the
// newest, so that the merge stays linear however long the session was.
std::vector<std::string> MergeHistory(std::vector<std::string> fileEntries, const std::vector<std::string>& added,
                                      int32_t maxHistory) {
    if (added.empty()) return fileEntries;
    const size_t limit = maxHistory > 0 ? static_cast<size_t>(maxHistory) : 0;
    // Only the newest `limit` entries stay: once that many distinct added
    // entries are found, older added entries and the whole file are cut.
    std::unordered_set<std::string_view, TNameHash, TSameName> addedNames;
    addedNames.reserve(std::min(added.size(), limit));
    std::vector<const std::string*> newestFirst;
    for (auto entry = added.rbegin(); entry != added.rend() && newestFirst.size() < limit; ++entry)
        if (addedNames.insert(*entry).second) newestFirst.push_back(&*entry);
    if (newestFirst.size() == limit) fileEntries.clear();
    std::erase_if(fileEntries, [&addedNames](const std::string& old) { return addedNames.count(old) > 0; });
    for (auto entry = newestFirst.rbegin(); entry != newestFirst.rend(); ++entry) fileEntries.push_back(**entry);
    if (fileEntries.size() > limit)
        fileEntries.erase(fileEntries.begin(), fileEntries.end() - static_cast<std::ptrdiff_t>(limit));
    return fileEntries;
}

void TSessionChanges::NoteVariablesSaved(const TVMVariableList& variables) {
    try {
        FSavedVariableLines = VariableLines(variables);
        FSavedAtChange = variables.Changes();
    } catch (const Exception&) {
        // a value that cannot be saved keeps the earlier baseline
    }
}

void TSessionChanges::NoteHistoryEntry(const std::string& entry, int32_t maxHistory) {
    if (FHistory) return;
    FAddedHistory.push_back(entry);
    // Folded to at most the limit's worth of distinct entries now and then:
    // the memory stays bounded by the limit, and each entry is folded about
    // once whatever the limit.
    const size_t limit = maxHistory > 0 ? static_cast<size_t>(maxHistory) : 0;
    if (FAddedHistory.size() > 4 * limit + 256) FAddedHistory = MergeHistory({}, FAddedHistory, maxHistory);
}

void TSessionChanges::MergeInto(TProfileText& file, const TSettings& settings,
                                const TVMVariableList& variables) const {
    // Without a change since the baseline, the merge would give the file's
    // own lines back: the section stays as the file has it, or is begun.
    const bool unchanged = settings.SaveVariables && FSavedAtChange == variables.Changes();
    if (unchanged) {
        if (!HasSection(file, VariablesSection)) ReplaceSectionLines(file, VariablesSection, {});
    } else {
        try {
            std::vector<std::string> lines;
            if (settings.SaveVariables) {
                std::vector<std::string> fileLines;
                AppendSectionLines(file, VariablesSection, fileLines);
                lines = MergeVariableLines(fileLines, FSavedVariableLines, VariableLines(variables));
            }
            ReplaceSectionLines(file, VariablesSection, lines);
        } catch (const Exception&) {
            // the section stays as the file has it
        }
    }
    std::vector<std::string> history;
    if (settings.SaveHistory) {
        std::vector<std::string> fileLines;
        AppendSectionLines(file, HistorySection, fileLines);
        for (const std::string& entry :
             MergeHistory(DecodedHistory(fileLines), AddedHistory(settings.MaxHistory), settings.MaxHistory))
            history.push_back(EncodeHistoryLine(entry));
    }
    ReplaceSectionLines(file, HistorySection, history);
}

void TSessionChanges::FollowHistory(const TInputHistory& history) {
    FHistory = &history;
    FHistoryMark = history.EnteredCount();
    FAddedHistory.clear();
}

// The entries added since the last save, in order; as many as a merge
// needs. Of a followed history its entries entered since then: the newest
// distinct ones of every line entered, up to the limit at the last entry.
// Lines entered under a limit of zero left no entry there; with a limit of
// zero at the merge too they still empty the file's history, so one entry
// stands for them.
std::vector<std::string> TSessionChanges::AddedHistory(int32_t maxHistory) const {
    if (!FHistory) return FAddedHistory;
    std::vector<std::string> added = FHistory->EnteredSince(FHistoryMark);
    if (added.empty() && maxHistory <= 0 && FHistory->EnteredCount() > FHistoryMark) added.emplace_back();
    return added;
}

void TSessionChanges::NoteSaved(const TVMVariableList& variables) {
    NoteVariablesSaved(variables);
    FAddedHistory.clear();
    if (FHistory) FHistoryMark = FHistory->EnteredCount();
}

}  // namespace quenmark
