#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/context.h"
#include "definitions/profile_text.h"

namespace quenmark {

// Readers and writers of the sectioned key=value definition files. Every
// operation takes the context and the file's full path first; none raises
// an error for a missing file, section or key. Parsed copies are shared
// through the context's store (a TProfileCache), so repeated reads of an
// unchanged file cost no file read, and every write replaces the file
// atomically.

// value: in, the default; out, the stored value where the key exists.
void ReadProfileString(const TCCContext& context, const std::string& path,
                       std::string_view section, std::string_view key, std::string& value);
// value: in, the default; out, the stored number where the key has a
// non-empty value: an optional "-" and the decimal digits at its start
// (0 when it starts with no digit), limited to the 32-bit range.
void ReadProfileInteger(const TCCContext& context, const std::string& path,
                        std::string_view section, std::string_view key, int32_t& value);
// value: true for 1, Y, YES, ON; false for 0, N, NO, OFF (any letter case,
// surrounding blanks ignored); unchanged for anything else or a missing key.
void ReadProfileBool(const TCCContext& context, const std::string& path,
                     std::string_view section, std::string_view key, bool& value);

// The same three readers on contents already loaded, so that many keys are
// read from one parse of the file.
void ReadProfileString(const TProfileText& file, std::string_view section, std::string_view key, std::string& value);
void ReadProfileInteger(const TProfileText& file, std::string_view section, std::string_view key, int32_t& value);
void ReadProfileBool(const TProfileText& file, std::string_view section, std::string_view key, bool& value);

// Creates file, section and key where missing and replaces an existing
// key's value in place. Returns whether the file was written; a file that
// cannot be written is left exactly as it was.
bool WriteProfileString(const TCCContext& context, const std::string& path,
                        std::string_view section, std::string_view key,
                        std::string_view text);

// Appends the lines of the section whose line is exactly "[" section "]"
// (letter case counts), each trimmed, up to the next line that starts with
// "[". Appends nothing for a missing file or section.
void ReadSectionLines(const TCCContext& context, const std::string& path,
                      std::string_view section, std::vector<std::string>& lines);

// Calls visit with each line ReadSectionLines would append, in order,
// without copying them: the file's parsed copy is read in place.
void ForEachSectionLine(const TCCContext& context, const std::string& path, std::string_view section,
                        const std::function<void(std::string_view)>& visit);

// Replaces the lines of the section (appended at the end when missing) and
// saves the file with every other line trimmed. A missing or unreadable
// file is left as it is. Line breaks inside the given lines become blanks.
bool WriteSectionLines(const TCCContext& context, const std::string& path,
                       std::string_view section, const std::vector<std::string>& lines);

// The two line-block operations on a file's parsed contents.
void AppendSectionLines(const TProfileText& file, std::string_view section, std::vector<std::string>& lines);
void ForEachSectionLine(const TProfileText& file, std::string_view section,
                        const std::function<void(std::string_view)>& visit);
// Whether the file has the section's header line.
bool HasSection(const TProfileText& file, std::string_view section);
void ReplaceSectionLines(TProfileText& file, std::string_view section, const std::vector<std::string>& lines);

// Every line of the file as it is, without line ends; none for a missing
// or unreadable file.
std::vector<std::string> ReadFileLines(const TCCContext& context, const std::string& path);

}  // namespace quenmark
