#pragma once

// Helpers shared by the fuzzing harnesses.
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {
class TCCInterpreter;
}

namespace quenmark::fuzz {

// A directory of this process for the files a harness writes, on the memory
// file system where there is one, ending in "/". Removed at a normal exit.
const std::string& ScratchDirectory();

// Replaces the file's contents with a plain write: the harnesses exercise
// the readers, the atomic replacement has tests of its own.
void WriteFile(const std::string& path, std::string_view contents);

// Ends the run as a finding, naming the property, when it does not hold.
void Require(bool holds, const char* property);

// Runs one line as the program does: the interpreter's own errors are what
// the user sees and end the line; anything else escapes as a finding. The
// output lines are dropped.
void RunLine(TCCInterpreter& interpreter, const std::string& line);

// The text cut at every "\n"; a final "\n" starts no further line.
std::vector<std::string> InputLines(std::string_view text);

// A settings file that the program accepts, holding the section with the
// given lines as its body.
std::string SettingsFileWith(std::string_view section, std::string_view body);

}  // namespace quenmark::fuzz
