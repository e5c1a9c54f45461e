#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// The bare names of the regular files in a directory whose names end with
// the extension (such as ".lng"), letter case ignored, in the order in
// which the directory lists them. Names beginning with "." are hidden and
// skipped; a symbolic link counts when it leads to a regular file. A
// directory that cannot be read lists nothing.
std::vector<std::string> ListFilesWithExtension(const std::string& directory, std::string_view extension);

// Whether the name ends with the extension, comparing "a" to "z" without
// regard to letter case.
bool HasExtension(std::string_view name, std::string_view extension);

}  // namespace quenmark
