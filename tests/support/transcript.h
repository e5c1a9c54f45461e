#pragma once

#include <string>
#include <vector>

namespace quenmark::testing {

// A transcript: the log a session writes, with input lines as "> " + line
// and every other line an output line.
struct Transcript {
    std::vector<std::string> Inputs;
    std::vector<std::string> Log;
};

Transcript ReadTranscript(const std::string& path);

// Every *.txt file under the directory, sorted, as "feature/case.txt".
std::vector<std::string> ListTranscripts(const std::string& directory);

}  // namespace quenmark::testing
