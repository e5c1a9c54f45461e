#pragma once

#include <string>
#include <vector>

namespace quenmark::testing {

// One case of a transcript file: the log a session writes, with input lines
// as "> " + line and every other line an output line.
struct Transcript {
    std::string Name;
    std::vector<std::string> Inputs;
    std::vector<std::string> Log;
};

// The cases of a transcript file, each to run in a fresh session. A line
// "=== name" starts a case; lines before the first one form a case without
// a name. Lines starting with "#" are comments. An input line ">" is an
// empty input, which the session echoes as "> ".
std::vector<Transcript> ReadTranscriptCases(const std::string& path);

// Every *.txt file under the directory, sorted, as "feature/case.txt".
std::vector<std::string> ListTranscripts(const std::string& directory);

// The file name as a test name: letters and digits, the rest "_".
std::string TranscriptTestName(const std::string& fileName);

}  // namespace quenmark::testing
