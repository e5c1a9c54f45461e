#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quenmark {

// The whole file as it is on disk; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace quenmark
