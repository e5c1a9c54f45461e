#include "support/transcript.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace quenmark::testing {

namespace {

constexpr const char* CaseHeader = "=== ";

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// Adds one line of a case: an input with its echo, or an output line.
void AddLine(Transcript& transcript, const std::string& line) {
    if (line == ">" || StartsWith(line, "> ")) {
        const std::string input = line.size() > 2 ? line.substr(2) : "";
        transcript.Inputs.push_back(input);
        transcript.Log.push_back("> " + input);
    } else {
        transcript.Log.push_back(line);
    }
}

}  // namespace

std::vector<Transcript> ReadTranscriptCases(const std::string& path) {
    std::vector<Transcript> cases(1);
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, "#")) continue;
        if (StartsWith(line, CaseHeader)) {
            if (cases.back().Log.empty() && cases.back().Name.empty()) cases.pop_back();
            cases.push_back(Transcript{line.substr(4), {}, {}});
            continue;
        }
        AddLine(cases.back(), line);
    }
    return cases;
}

std::vector<std::string> ListTranscripts(const std::string& directory) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    if (!fs::is_directory(directory)) return names;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            names.push_back(fs::relative(entry.path(), directory).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string TranscriptTestName(const std::string& fileName) {
    std::string name;
    for (char c : fileName.substr(0, fileName.size() - 4))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

}  // namespace quenmark::testing
