#include "support/transcript.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace quenmark::testing {

Transcript ReadTranscript(const std::string& path) {
    Transcript transcript;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("> ", 0) == 0) transcript.Inputs.push_back(line.substr(2));
        else if (line == ">") transcript.Inputs.push_back("");
        transcript.Log.push_back(line);
    }
    return transcript;
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

}  // namespace quenmark::testing
