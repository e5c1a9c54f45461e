#include "definitions/profile.h"

#include <algorithm>
#include <limits>

#include "definitions/profile_cache.h"
#include "base/names.h"

namespace quenmark {

namespace {

// The number at the start of a value: an optional "-" and decimal digits.
int32_t LeadingInteger(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        magnitude = std::min(magnitude * 10 + (c - '0'), limit);
    }
    const int64_t value = negative ? -magnitude : std::min(magnitude, limit - 1);
    return static_cast<int32_t>(value);
}

std::string SectionLine(std::string_view section) { return "[" + std::string(section) + "]"; }

bool StartsSection(std::string_view line) { return !line.empty() && line.front() == '['; }

std::string WithoutLineBreaks(std::string line) {
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

// The file's lines with the section's lines replaced: lines before it and
// from the next section on, trimmed; the section appended where missing.
std::vector<std::string> ReplaceSection(const std::vector<std::string>& old, std::string_view section,
                                        const std::vector<std::string>& lines) {
    const std::string header = SectionLine(section);
    std::vector<std::string> result;
    size_t i = 0;
    for (; i < old.size() && TrimControls(old[i]) != header; ++i) result.emplace_back(TrimControls(old[i]));
    result.push_back(header);
    for (const std::string& line : lines) result.push_back(WithoutLineBreaks(line));
    if (i < old.size()) ++i;  // past the old section line
    while (i < old.size() && !StartsSection(TrimControls(old[i]))) ++i;
    for (; i < old.size(); ++i) result.emplace_back(TrimControls(old[i]));
    return result;
}

}  // namespace

void ReadProfileString(const TProfileText& file, std::string_view section, std::string_view key, std::string& value) {
    if (const std::string* stored = file.Value(section, key)) value = *stored;
}

void ReadProfileInteger(const TProfileText& file, std::string_view section, std::string_view key, int32_t& value) {
    const std::string* stored = file.Value(section, key);
    if (stored && !stored->empty()) value = LeadingInteger(*stored);
}

void ReadProfileBool(const TProfileText& file, std::string_view section, std::string_view key, bool& value) {
    std::string text = "DEFAULT";
    ReadProfileString(file, section, key, text);
    const std::string word = UpperCase(TrimControls(text));
    if (word == "1" || word == "Y" || word == "YES" || word == "ON") value = true;
    else if (word == "0" || word == "N" || word == "NO" || word == "OFF") value = false;
}

void ReadProfileString(const TCCContext& context, const std::string& path,
                       std::string_view section, std::string_view key, std::string& value) {
    ReadProfileString(*LoadDefinitionFile(context, path).Text, section, key, value);
}

void ReadProfileInteger(const TCCContext& context, const std::string& path,
                        std::string_view section, std::string_view key, int32_t& value) {
    ReadProfileInteger(*LoadDefinitionFile(context, path).Text, section, key, value);
}

void ReadProfileBool(const TCCContext& context, const std::string& path,
                     std::string_view section, std::string_view key, bool& value) {
    ReadProfileBool(*LoadDefinitionFile(context, path).Text, section, key, value);
}

bool WriteProfileString(const TCCContext& context, const std::string& path,
                        std::string_view section, std::string_view key,
                        std::string_view text) {
    return UpdateDefinitionFile(context, path, true, [&](TProfileText& file) {
        file.SetValue(section, key, text);
        return true;
    });
}

void ReadSectionLines(const TCCContext& context, const std::string& path,
                      std::string_view section, std::vector<std::string>& lines) {
    const TProfileCache::Snapshot snapshot = LoadDefinitionFile(context, path);
    AppendSectionLines(*snapshot.Text, section, lines);
}

namespace {

// The index of the section's header line; the line count when there is none.
size_t HeaderIndex(const TProfileText& file, std::string_view section) {
    const std::vector<std::string>& fileLines = file.Lines();
    const std::string header = SectionLine(section);
    size_t i = 0;
    while (i < fileLines.size() && TrimControls(fileLines[i]) != header) ++i;
    return i;
}

}  // namespace

void ForEachSectionLine(const TProfileText& file, std::string_view section,
                        const std::function<void(std::string_view)>& visit) {
    const std::vector<std::string>& fileLines = file.Lines();
    for (size_t i = HeaderIndex(file, section) + 1; i < fileLines.size(); ++i) {
        const std::string_view line = TrimControls(fileLines[i]);
        if (StartsSection(line)) break;
        visit(line);
    }
}

void ForEachSectionLine(const TCCContext& context, const std::string& path, std::string_view section,
                        const std::function<void(std::string_view)>& visit) {
    const TProfileCache::Snapshot snapshot = LoadDefinitionFile(context, path);
    ForEachSectionLine(*snapshot.Text, section, visit);
}

void AppendSectionLines(const TProfileText& file, std::string_view section, std::vector<std::string>& lines) {
    ForEachSectionLine(file, section, [&lines](std::string_view line) { lines.emplace_back(line); });
}

bool HasSection(const TProfileText& file, std::string_view section) {
    return HeaderIndex(file, section) < file.Lines().size();
}

bool WriteSectionLines(const TCCContext& context, const std::string& path,
                       std::string_view section, const std::vector<std::string>& lines) {
    return UpdateDefinitionFile(context, path, false, [&](TProfileText& file) {
        ReplaceSectionLines(file, section, lines);
        return true;
    });
}

void ReplaceSectionLines(TProfileText& file, std::string_view section, const std::vector<std::string>& lines) {
    file = TProfileText(ReplaceSection(file.Lines(), section, lines));
}

std::vector<std::string> ReadFileLines(const TCCContext& context, const std::string& path) {
    return LoadDefinitionFile(context, path).Text->Lines();
}

}  // namespace quenmark
