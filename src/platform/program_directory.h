#pragma once

#include <string>

namespace quenmark {

// The directory that holds the running executable, with a trailing "/".
// Read once from /proc/self/exe; "./" when it cannot be read.
const std::string& ProgramDirectory();

// The directory part of an executable path, with its trailing "/".
std::string DirectoryOfPath(const std::string& path);

}  // namespace quenmark
