#pragma once

#include <string>
#include <string_view>

namespace quenmark {

// Definition files are named by bare file names and found in one
// directory, normally the program's: their full path is that directory,
// with its trailing "/", followed by the name.
std::string FullPath(std::string_view fileName);
std::string FullPath(std::string_view directory, std::string_view fileName);

}  // namespace quenmark
