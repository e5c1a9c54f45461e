#include "definitions/full_path.h"

#include "platform/installed_layout.h"

namespace quenmark {

std::string FullPath(std::string_view fileName) { return FullPath(DataDirectory(), fileName); }

std::string FullPath(std::string_view directory, std::string_view fileName) {
    std::string path(directory);
    if (!path.empty() && path.back() != '/') path += '/';
    path += fileName;
    return path;
}

}  // namespace quenmark
