// The definition-file readers and writers on arbitrary file contents. The
// input is the file; its last bytes choose the section, key and value to
// read and write, taken from the file's own lines so that reads hit real
// entries. Checked: the file readers see what the parsed text holds, a
// written value reads back as the readers' rules give it, a written
// section's lines read back, and the text survives its own round trip.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/context.h"
#include "definitions/profile.h"
#include "definitions/profile_cache.h"
#include "definitions/profile_text.h"
#include "fuzz_support.h"

namespace quenmark {
namespace {

using fuzz::Require;

// A line of the file, or an empty text when there is none.
std::string PickLine(const std::vector<std::string>& lines, FuzzedDataProvider& choices) {
    if (lines.empty()) return {};
    return lines[choices.ConsumeIntegralInRange<size_t>(0, lines.size() - 1)];
}

// A section name as a file line spells it: between "[" and "]".
std::string PickSection(const std::vector<std::string>& lines, FuzzedDataProvider& choices) {
    const std::string line(TrimBlanks(PickLine(lines, choices)));
    if (line.empty() || line.front() != '[') return line;
    return std::string(TrimBlanks(std::string_view(line).substr(1, line.find(']') - 1)));
}

// A key as a file line spells it: before the "=".
std::string PickKey(const std::vector<std::string>& lines, FuzzedDataProvider& choices) {
    const std::string line = PickLine(lines, choices);
    return std::string(TrimBlanks(std::string_view(line).substr(0, line.find('='))));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Names that a key line or a section line can hold and give back as they
// are; the writers leave other names to their callers.
bool IsPlainKey(std::string_view key) {
    return !key.empty() && TrimBlanks(key) == key && key.front() != ';' && key.front() != '[' &&
           key.find('=') == std::string_view::npos && !HasLineBreak(key);
}
bool IsPlainSection(std::string_view section) {
    return TrimBlanks(section) == section && section.find(']') == std::string_view::npos && !HasLineBreak(section);
}

// What the value readers give for a stored value.
std::string AsRead(std::string_view value) {
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n') c = ' ';
    std::string_view trimmed = TrimBlanks(clean);
    if (trimmed.size() >= 2 && (trimmed.front() == '"' || trimmed.front() == '\'') && trimmed.back() == trimmed.front())
        trimmed = trimmed.substr(1, trimmed.size() - 2);
    return CutValue(trimmed, TProfileText::MaxValueLength);
}

void CheckText(const TProfileText& text, const std::string& section, const std::string& key,
               const std::string& value) {
    Require(TProfileText(text.Contents()).Lines() == text.Lines(), "the written text splits into the same lines");
    TProfileText edited = text;
    edited.SetValue(section, key, value);
    Require(TProfileText(edited.Contents()).Lines() == edited.Lines(), "an edited text splits into the same lines");
    if (IsPlainSection(section) && IsPlainKey(key)) {
        const std::string* stored = edited.Value(section, key);
        Require(stored && *stored == AsRead(value), "a written value reads back");
    }
}

void CheckFileReaders(const TCCContext& context, const std::string& path, const TProfileText& text,
                      const std::string& section, const std::string& key) {
    Require(ReadFileLines(context, path) == text.Lines(), "the file's lines are the text's lines");
    std::string value = "\x01missing";
    ReadProfileString(context, path, section, key, value);
    const std::string* stored = text.Value(section, key);
    Require(value == (stored ? *stored : "\x01missing"), "the string reader gives the stored value");
    int32_t number = 12345;
    ReadProfileInteger(context, path, section, key, number);
    bool flag = true;
    ReadProfileBool(context, path, section, key, flag);
    std::vector<std::string> lines;
    ReadSectionLines(context, path, section, lines);
    Require(lines.size() <= text.Lines().size(), "a section has no more lines than its file");
}

void CheckFileWriters(const TCCContext& context, const std::string& path, const TProfileText& text,
                      const std::string& section, const std::string& key, const std::string& value,
                      const std::vector<std::string>& body) {
    TProfileText expected = text;
    expected.SetValue(section, key, value);
    Require(WriteProfileString(context, path, section, key, value), "a value can be written");
    Require(ReadFileLines(context, path) == expected.Lines(), "the written file holds the edited text");

    Require(WriteSectionLines(context, path, section, body), "a section can be written");
    std::vector<std::string> readBack;
    ReadSectionLines(context, path, section, readBack);
    // A section line holds the name as it is, unless a line break splits it.
    bool plain = !HasLineBreak(section);
    std::vector<std::string> wanted;
    for (const std::string& line : body) {
        std::string clean = line;
        for (char& c : clean)
            if (c == '\r' || c == '\n') c = ' ';
        const std::string_view trimmed = TrimControls(clean);
        if (!trimmed.empty() && trimmed.front() == '[') plain = false;
        wanted.emplace_back(trimmed);
    }
    if (plain) Require(readBack == wanted, "a written section reads back");
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    // The choices come from the end of the input, the contents from the front.
    const size_t controlSize = std::min<size_t>(size, 8);
    FuzzedDataProvider control(data + size - controlSize, controlSize);
    const std::string contents(reinterpret_cast<const char*>(data), size - controlSize);

    const TProfileText text(contents);
    const std::vector<std::string>& lines = text.Lines();
    const std::string section = PickSection(lines, control);
    const std::string key = PickKey(lines, control);
    const std::string value = PickLine(lines, control);
    std::vector<std::string> body;
    const size_t bodyStart = lines.empty() ? 0 : control.ConsumeIntegralInRange<size_t>(0, lines.size() - 1);
    for (size_t i = bodyStart; i < lines.size() && body.size() < 8; ++i) body.push_back(lines[i]);

    CheckText(text, section, key, value);

    const std::string path = fuzz::ScratchDirectory() + "profile.ini";
    fuzz::WriteFile(path, contents);
    // Read and written through a cache of parsed copies, as the program does.
    TProfileCache cache;
    TCCContext context;
    context.SetFiles(&cache);
    CheckFileReaders(context, path, text, section, key);
    CheckFileWriters(context, path, text, section, key, value, body);
    return 0;
}
