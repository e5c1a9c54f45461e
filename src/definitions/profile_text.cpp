#include "definitions/profile_text.h"

#include <optional>

#include "base/text_lines.h"

namespace quenmark {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

template <typename Predicate>
std::string_view Trim(std::string_view text, Predicate drop) {
    while (!text.empty() && drop(text.front())) text.remove_prefix(1);
    while (!text.empty() && drop(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string WithoutLineBreaks(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c == '\r' || c == '\n') c = ' ';
    return result;
}

// The section name of a section line, or nothing for another line.
std::optional<std::string_view> SectionName(std::string_view trimmedLine) {
    if (trimmedLine.empty() || trimmedLine.front() != '[') return std::nullopt;
    const std::string_view rest = trimmedLine.substr(1);
    return TrimBlanks(rest.substr(0, rest.find(']')));
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) { return Trim(text, IsBlank); }

std::string_view TrimControls(std::string_view text) { return Trim(text, IsControlOrBlank); }

size_t NameHash::operator()(std::string_view name) const {
    size_t hash = 14695981039346656037ull;  // FNV-1a over the capitalised bytes
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(Upper(c))) * 1099511628211ull;
    return hash;
}

bool NameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

std::string CutValue(std::string_view value, size_t maxLength) {
    if (value.size() <= maxLength) return std::string(value);
    size_t cut = maxLength;
    size_t lead = cut;  // find the first byte of the character that the cut goes through
    while (lead > 0 && lead > cut - 4 && (static_cast<unsigned char>(value[lead]) & 0xC0) == 0x80) --lead;
    const unsigned char first = static_cast<unsigned char>(value[lead]);
    if (lead < cut && first >= 0xC0) cut = lead;
    return std::string(value.substr(0, cut));
}

// Every mark at the start, not only the first: a write drops them, so a
// file that an editor gave two marks reads the same before and after a save.
std::string_view WithoutByteOrderMark(std::string_view contents) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    while (contents.substr(0, mark.size()) == mark) contents.remove_prefix(mark.size());
    return contents;
}

TProfileText::TProfileText(std::string_view contents) : FLines(SplitLines(WithoutByteOrderMark(contents))) {
    BuildIndex();
}

TProfileText::TProfileText(std::vector<std::string> lines) : FLines(std::move(lines)) { BuildIndex(); }

void TProfileText::BuildIndex() {
    FSections.clear();
    Section* current = nullptr;  // null outside any section and in a repeated section
    for (size_t i = 0; i < FLines.size(); ++i) {
        const std::string_view line = TrimBlanks(FLines[i]);
        if (auto name = SectionName(line)) {
            auto [it, added] = FSections.try_emplace(std::string(*name), Section{i, std::string::npos, {}});
            current = added ? &it->second : nullptr;
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (key.empty() || key.front() == ';') continue;
        current->LastKeyLine = i;
        const std::string_view value = Unquote(TrimBlanks(line.substr(equals + 1)));
        current->Keys.try_emplace(std::string(key), KeyEntry{i, CutValue(value, MaxValueLength)});
    }
}

const std::string* TProfileText::Value(std::string_view section, std::string_view key) const {
    const auto sectionIt = FSections.find(section);
    if (sectionIt == FSections.end()) return nullptr;
    const auto keyIt = sectionIt->second.Keys.find(key);
    return keyIt == sectionIt->second.Keys.end() ? nullptr : &keyIt->second.Value;
}

namespace {

// A key or section name that reads back from its line exactly as written:
// not empty, no blanks around it, no "=", "[", "]" and not a comment.
bool IsPlainName(std::string_view name) {
    if (name.empty() || TrimBlanks(name).size() != name.size() || name.front() == ';') return false;
    // A plain loop: find_first_of searches the set once per character.
    for (const char c : name)
        if (c == '=' || c == '[' || c == ']') return false;
    return true;
}

}  // namespace

void TProfileText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string cleanKey = WithoutLineBreaks(key);
    const std::string cleanValue = WithoutLineBreaks(value);
    const std::string storedValue = CutValue(Unquote(TrimBlanks(cleanValue)), MaxValueLength);
    const auto sectionIt = FSections.find(section);
    if (sectionIt == FSections.end()) {
        const std::string cleanSection = WithoutLineBreaks(section);
        FLines.push_back("[" + cleanSection + "]");
        FLines.push_back(cleanKey + "=" + cleanValue);
        if (!IsPlainName(cleanSection) || !IsPlainName(cleanKey)) return BuildIndex();
        // The index follows without reading the file again: the two lines
        // are a new section holding one key.
        Section& added = FSections[cleanSection];
        added = Section{FLines.size() - 2, FLines.size() - 1, {}};
        added.Keys.try_emplace(cleanKey, KeyEntry{FLines.size() - 1, storedValue});
    } else if (const auto keyIt = sectionIt->second.Keys.find(cleanKey); keyIt != sectionIt->second.Keys.end()) {
        std::string& line = FLines[keyIt->second.Line];
        const std::string_view trimmed = TrimBlanks(line);
        const std::string storedKey(TrimBlanks(trimmed.substr(0, trimmed.find('='))));
        line = storedKey + "=" + cleanValue;
        keyIt->second.Value = storedValue;
    } else {
        Section& target = sectionIt->second;
        const size_t at = (target.LastKeyLine == std::string::npos ? target.HeaderLine : target.LastKeyLine) + 1;
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), cleanKey + "=" + cleanValue);
        if (!IsPlainName(cleanKey)) return BuildIndex();
        ShiftLinesFrom(at);
        target.LastKeyLine = at;
        target.Keys.try_emplace(cleanKey, KeyEntry{at, storedValue});
    }
}

// After a line was inserted at index at: every indexed line from there on
// moved down by one.
void TProfileText::ShiftLinesFrom(size_t at) {
    const auto shift = [at](size_t& line) {
        if (line != std::string::npos && line >= at) ++line;
    };
    for (auto& [name, indexed] : FSections) {
        shift(indexed.HeaderLine);
        shift(indexed.LastKeyLine);
        for (auto& [keyName, entry] : indexed.Keys) shift(entry.Line);
    }
}

std::string TProfileText::Contents() const {
    std::string contents;
    for (const std::string& line : FLines) {
        contents += line;
        contents += "\r\n";
    }
    return contents;
}

}  // namespace quenmark
