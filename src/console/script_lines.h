#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenmark {

// Whether a script line is a comment: its first character other than a
// blank or a tab is '#'. That covers a first line "#!/usr/bin/env ...".
bool IsScriptComment(std::string_view line);

// Whether a line is an "@" command whose output only confirms what it did
// (a mode, a format, a deletion, a protection, the debug switch): a script
// prints results only, so none of it. Listings and the help are output.
bool IsConfirmingCommand(std::string_view line);

// How lines of standard input or of a file are taken.
enum class TLineSource {
    Log,     // piped without options: every line, as the window's log shows it
    Script,  // piped with -q: comments are passed over
    File,    // -f FILE: comments are passed over, and errors name FILE:LINE
};

// What every message of the program on standard error starts with.
inline constexpr const char* MessagePrefix = "quenmark-console: ";

// The start of the error of line number (from 1) of a script file:
// "quenmark-console: FILE:LINE: ".
std::string ScriptLinePrefix(const std::string& fileName, size_t number);

}  // namespace quenmark
