#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quenmark {

// Removes blanks and tabs at both ends: the trimming of the value readers.
std::string_view TrimBlanks(std::string_view text);
// Removes blanks and control characters at both ends: the trimming of the
// line-block operations.
std::string_view TrimControls(std::string_view text);

// The text without a UTF-8 byte-order mark at its start, which editors
// may add; every file is read as if it had none.
std::string_view WithoutByteOrderMark(std::string_view contents);

// Hash and comparison of section and key names: "a" to "z" match their
// capitals, every other byte only itself.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// One definition file as lines, with an index of its sections and keys by
// the rules of the value readers: "[name]" opens a section, key=value is a
// key line unless the key is empty or starts with ";", and the first
// occurrence of a section and of a key in it counts.
class TProfileText {
public:
    static constexpr size_t MaxValueLength = 255;

    TProfileText() = default;
    // A byte-order mark at the start is dropped, so it is never written back.
    explicit TProfileText(std::string_view contents);
    explicit TProfileText(std::vector<std::string> lines);

    // The lines as they are in the file, without line ends.
    const std::vector<std::string>& Lines() const { return FLines; }

    // The value stored for key in section, as the readers return it: one
    // outer pair of matching quotes removed, cut to MaxValueLength bytes.
    // Null when the section or the key is missing.
    const std::string* Value(std::string_view section, std::string_view key) const;

    // Stores the value: replaces an existing key's line (keeping the key's
    // spelling), puts a new key after the last key line of its section, or
    // appends a new section at the end. Line breaks in key and value become
    // blanks, so that a value can never add lines to the file.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The text of the file: every line ended by CR LF.
    std::string Contents() const;

private:
    struct KeyEntry {
        size_t Line;
        std::string Value;
    };
    struct Section {
        size_t HeaderLine;
        size_t LastKeyLine;
        std::unordered_map<std::string, KeyEntry, NameHash, NameEqual> Keys;
    };

    void BuildIndex();
    void ShiftLinesFrom(size_t at);
    std::vector<std::string> FLines;
    std::unordered_map<std::string, Section, NameHash, NameEqual> FSections;
};

// Cuts a value to at most maxLength bytes without splitting a UTF-8
// character; text that is not UTF-8 is cut at maxLength exactly.
std::string CutValue(std::string_view value, size_t maxLength);

}  // namespace quenmark
