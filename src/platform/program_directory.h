#pragma once

#include <string>

namespace quenmark {

// The directory that holds the running executable, with a trailing "/".
// Read once from /proc/self/exe; "./" when it cannot be read.
const std::string& ProgramDirectory();

// The directory part of an executable path, with its trailing "/".
std::string DirectoryOfPath(const std::string& path);

// Creates the missing directories of an absolute path ending in "/", each
// for its owner only, as for a user's configuration, state or cache folder.
// False when one cannot be made; errno tells why.
bool CreatePrivateDirectories(const std::string& directory);

}  // namespace quenmark
