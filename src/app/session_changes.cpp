#include "app/session_changes.h"

#include <algorithm>
#include <functional>
#include <new>
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
std::optional<std::string> LineName(std::string_view line) {
    if (line.empty() || line.front() != ';') return std::nullopt;
    std::string_view digits = line.substr(1);
    try {
        return UpperCase(DecodeString(digits));
    } catch (const Exception&) {
        return std::nullopt;
    }
}

uint64_t NameHash(std::string_view name) { return std::hash<std::string_view>{}(name); }

// The lines of this copy, by place: the capitalised name of each (none for
// a place without a line) and the line itself, which may be made on demand
// and stays valid until the next call.
class TCurrentLines {
public:
    virtual ~TCurrentLines() = default;
    virtual size_t Size() const = 0;
    virtual std::optional<std::string_view> Name(size_t place) const = 0;
    virtual std::string_view Line(size_t place) = 0;
};

// The lines of a block; each name decoded once.
class TBlockLines : public TCurrentLines {
public:
    explicit TBlockLines(const TLineBlock& lines) : FLines(lines) {
        FNames.reserve(lines.Size());
        for (size_t i = 0; i < lines.Size(); ++i) FNames.push_back(LineName(lines[i]));
    }
    size_t Size() const override { return FLines.Size(); }
    std::optional<std::string_view> Name(size_t place) const override { return FNames[place]; }
    std::string_view Line(size_t place) override { return FLines[place]; }

private:
    const TLineBlock& FLines;
    std::vector<std::optional<std::string>> FNames;
};

// The lines of the variables of a table, each encoded when it is needed:
// the names are the table's own, and no copy of all lines is held.
class TTableLines : public TCurrentLines {
public:
    explicit TTableLines(const TVMVariableList& variables) : FVariables(variables) {}
    size_t Size() const override { return FVariables.Count(); }
    std::optional<std::string_view> Name(size_t place) const override {
        if (FVariables[place].IsConstant) return std::nullopt;
        return std::string_view(FVariables[place].UpperName);
    }
    std::string_view Line(size_t place) override {
        FLine.clear();
        AppendVariableLine(FVariables[place], FLine);
        return FLine;
    }

private:
    const TVMVariableList& FVariables;
    std::string FLine;
};

// The places of lines by name: sixteen bytes a line, sorted by the hash of
// the name and then by place, so that the places of one name are found in
// their order by a binary search and a check of the names.
class TPlacesByName {
public:
    template <typename TNameOf>
    TPlacesByName(size_t size, const TNameOf& nameOf) {
        FEntries.reserve(size);
        for (size_t i = 0; i < size; ++i)
            if (const auto name = nameOf(i)) FEntries.emplace_back(NameHash(*name), static_cast<uint32_t>(i));
        std::sort(FEntries.begin(), FEntries.end());
    }

    // The places whose name nameIs accepts among those of the name's hash.
    template <typename TNameIs>
    void Find(std::string_view name, std::vector<uint32_t>& places, const TNameIs& nameIs) const {
        places.clear();
        const uint64_t hash = NameHash(name);
        auto it = std::lower_bound(FEntries.begin(), FEntries.end(), std::pair<uint64_t, uint32_t>{hash, 0});
        for (; it != FEntries.end() && it->first == hash; ++it)
            if (nameIs(it->second)) places.push_back(it->second);
    }

private:
    std::vector<std::pair<uint64_t, uint32_t>> FEntries;
};

// Decides per name whether this copy changed it, and puts out this copy's
// lines of a changed name once.
class TVariableMerge {
public:
    TVariableMerge(const TLineBlock& baseline, TCurrentLines& current, const TLineVisitor& out)
        : FBaseline(baseline), FCurrent(current),
          FTheirs(baseline.Size(), [&baseline](size_t i) { return LineName(baseline[i]); }),
          FOurs(current.Size(), [&current](size_t i) { return current.Name(i); }), FOut(out),
          FWritten(current.Size(), false) {}

    void FileLine(std::string_view line) {
        const auto name = LineName(line);
        if (!name || !Changed(*name)) FOut(line);
        else WriteOurs();
    }
    void NewNames() {
        for (size_t i = 0; i < FCurrent.Size(); ++i)
            if (const auto name = FCurrent.Name(i); name && Changed(*name)) WriteOurs();
    }

private:
    // Finds the lines of name in both blocks; whether they differ.
    bool Changed(std::string_view name) {
        FOurs.Find(name, FOurPlaces, [this, name](uint32_t place) { return FCurrent.Name(place) == name; });
        FTheirs.Find(name, FTheirPlaces,
                     [this, name](uint32_t place) { return LineName(FBaseline[place]) == name; });
        return !std::equal(FOurPlaces.begin(), FOurPlaces.end(), FTheirPlaces.begin(), FTheirPlaces.end(),
                           [this](uint32_t ours, uint32_t theirs) { return FCurrent.Line(ours) == FBaseline[theirs]; });
    }
    // This copy's lines of the name Changed looked at, unless written already.
    void WriteOurs() {
        if (FOurPlaces.empty() || FWritten[FOurPlaces.front()]) return;
        FWritten[FOurPlaces.front()] = true;
        for (uint32_t place : FOurPlaces) FOut(FCurrent.Line(place));
    }

    const TLineBlock& FBaseline;
    TCurrentLines& FCurrent;
    TPlacesByName FTheirs;
    TPlacesByName FOurs;
    const TLineVisitor& FOut;
    std::vector<bool> FWritten;  // by the place of a name's first line in current
    std::vector<uint32_t> FOurPlaces, FTheirPlaces;
};

// Whether every variable of the table that is not a constant can be saved.
bool AllSavable(const TVMVariableList& variables) {
    std::string line;
    try {
        for (size_t i = 0; i < variables.Count(); ++i) {
            if (variables[i].IsConstant) continue;
            line.clear();
            AppendVariableLine(variables[i], line);
        }
    } catch (const Exception&) {
        return false;
    }
    return true;
}

TLineBlock BlockOf(const std::vector<std::string>& lines) {
    TLineBlock block;
    for (const std::string& line : lines) block.Add(line);
    return block;
}

TSectionLines LinesOf(const std::vector<std::string>& lines) {
    return [&lines](const TLineVisitor& visit) {
        for (const std::string& line : lines) visit(line);
    };
}

// The entry of each history line that decodes; a damaged line would be
// skipped at the next load too.
void ForEachHistoryEntry(const TSectionLines& fileLines, const std::function<void(std::string&&)>& visit) {
    fileLines([&visit](std::string_view line) {
        std::string entry;
        try {
            entry = DecodeHistoryLine(line);
        } catch (const Exception&) {
            return;
        }
        visit(std::move(entry));
    });
}

}  // namespace

TLineBlock VariableLineBlock(const TVMVariableList& variables) {
    TLineBlock block;
    std::string line;
    for (size_t i = 0; i < variables.Count(); ++i) {
        if (variables[i].IsConstant) continue;
        line.clear();
        AppendVariableLine(variables[i], line);
        block.Add(line);
    }
    return block;
}

std::vector<std::string> VariableLines(const TVMVariableList& variables) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < variables.Count(); ++i)
        if (!variables[i].IsConstant) lines.push_back(EncodeVariableLine(variables[i]));
    return lines;
}

namespace {

void MergeCurrentLinesInto(const TSectionLines& fileLines, const TLineBlock& baseline, TCurrentLines& current,
                           const TLineVisitor& out) {
    TVariableMerge merge(baseline, current, out);
    fileLines([&merge](std::string_view line) { merge.FileLine(line); });
    merge.NewNames();
}

}  // namespace

void MergeVariableLinesInto(const TSectionLines& fileLines, const TLineBlock& baseline, const TLineBlock& current,
                            const TLineVisitor& out) {
    TBlockLines lines(current);
    MergeCurrentLinesInto(fileLines, baseline, lines, out);
}

std::vector<std::string> MergeVariableLines(const std::vector<std::string>& fileLines,
                                            const std::vector<std::string>& baseline,
                                            const std::vector<std::string>& current) {
    std::vector<std::string> merged;
    MergeVariableLinesInto(LinesOf(fileLines), BlockOf(baseline), BlockOf(current),
                           [&merged](std::string_view line) { merged.emplace_back(line); });
    return merged;
}

// Each text keeps only its newest entry: walking the added entries from the
// newest, so that the merge stays linear however long the session was. The
// file's entries are gone over twice, to count and to write them, and never
// held.
void MergeHistoryInto(const TSectionLines& fileLines, const std::vector<std::string>& added, int32_t maxHistory,
                      const TLineVisitor& out) {
    const auto putEntry = [&out](std::string_view entry) { out(EncodeHistoryLine(entry)); };
    if (added.empty()) return ForEachHistoryEntry(fileLines, [&putEntry](std::string&& entry) { putEntry(entry); });
    const size_t limit = maxHistory > 0 ? static_cast<size_t>(maxHistory) : 0;
    // Only the newest `limit` entries stay: once that many distinct added
    // entries are found, older added entries and the whole file are cut.
    std::unordered_set<std::string_view, TNameHash, TSameName> addedNames;
    addedNames.reserve(std::min(added.size(), limit));
    std::vector<const std::string*> newestFirst;
    for (auto entry = added.rbegin(); entry != added.rend() && newestFirst.size() < limit; ++entry)
        if (addedNames.insert(*entry).second) newestFirst.push_back(&*entry);
    if (newestFirst.size() < limit) {
        size_t kept = 0;
        ForEachHistoryEntry(fileLines, [&](std::string&& entry) { kept += addedNames.count(entry) == 0; });
        // The oldest of them go where the added entries would pass the limit.
        size_t skip = kept + newestFirst.size() > limit ? kept + newestFirst.size() - limit : 0;
        ForEachHistoryEntry(fileLines, [&](std::string&& entry) {
            if (addedNames.count(entry) > 0) return;
            if (skip > 0) --skip;
            else putEntry(entry);
        });
    }
    for (auto entry = newestFirst.rbegin(); entry != newestFirst.rend(); ++entry) putEntry(**entry);
}

std::vector<std::string> MergeHistory(std::vector<std::string> fileEntries, const std::vector<std::string>& added,
                                      int32_t maxHistory) {
    std::vector<std::string> lines;
    lines.reserve(fileEntries.size());
    for (const std::string& entry : fileEntries) lines.push_back(EncodeHistoryLine(entry));
    fileEntries.clear();
    MergeHistoryInto(LinesOf(lines), added, maxHistory,
                     [&fileEntries](std::string_view line) { fileEntries.push_back(DecodeHistoryLine(line)); });
    return fileEntries;
}

void TSessionChanges::NoteVariablesSaved(const TVMVariableList& variables) {
    try {
        FSavedVariableLines = VariableLineBlock(variables);
        FSavedAtChange = variables.Changes();
    } catch (const Exception&) {
        // a value that cannot be saved keeps the earlier baseline
    } catch (const std::bad_alloc&) {
        // so does a table too large to copy now: the next merge then
        // counts some unchanged variables as changed, which writes the
        // values they have anyway
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

TSectionMerge TSessionChanges::VariablesMerge(const TSettings& settings, const TVMVariableList& variables) const {
    return [this, &settings, &variables](const TSectionLines& fileLines, const TLineVisitor& out) {
        if (!settings.SaveVariables) return;
        // Without a change since the baseline, the merge would give the
        // file's own lines back.
        if (FSavedAtChange == variables.Changes()) return fileLines(out);
        if (!AllSavable(variables)) return fileLines(out);  // the section stays as the file has it
        TTableLines current(variables);
        MergeCurrentLinesInto(fileLines, FSavedVariableLines, current, out);
    };
}

TSectionMerge TSessionChanges::HistoryMerge(const TSettings& settings) const {
    return [this, &settings](const TSectionLines& fileLines, const TLineVisitor& out) {
        if (settings.SaveHistory)
            MergeHistoryInto(fileLines, AddedHistory(settings.MaxHistory), settings.MaxHistory, out);
    };
}

void TSessionChanges::MergeInto(TProfileText& file, const TSettings& settings,
                                const TVMVariableList& variables) const {
    const std::pair<const char*, TSectionMerge> sections[] = {{VariablesSection, VariablesMerge(settings, variables)},
                                                              {HistorySection, HistoryMerge(settings)}};
    for (const auto& section : sections) {
        // Named apart: a lambda may not capture a structured binding (C++20 as clang 14 reads it).
        const char* const name = section.first;
        const TSectionMerge& merge = section.second;
        std::vector<std::string> lines;
        const TSectionLines fileLines = [&file, name](const TLineVisitor& visit) {
            ForEachSectionLine(file, name, visit);
        };
        merge(fileLines, [&lines](std::string_view line) { lines.emplace_back(line); });
        ReplaceSectionLines(file, name, lines);
    }
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

bool TSessionChanges::HasChanges(const TSettings& settings, const TVMVariableList& variables) const {
    const bool variablesChanged = FSavedAtChange != variables.Changes();
    const bool historyAdded = FHistory ? FHistory->EnteredCount() > FHistoryMark : !FAddedHistory.empty();
    return (settings.SaveVariables && variablesChanged) || (settings.SaveHistory && historyAdded);
}

void TSessionChanges::NoteSaved(const TVMVariableList& variables) {
    NoteVariablesSaved(variables);
    FAddedHistory.clear();
    if (FHistory) FHistoryMark = FHistory->EnteredCount();
}

}  // namespace quenmark
