#include "platform/file_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "base/names.h"

namespace quenmark {

namespace {

bool IsRegularFile(DIR* dir, const dirent* entry) {
    if (entry->d_type == DT_REG) return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return false;
    struct stat status {};
    if (fstatat(dirfd(dir), entry->d_name, &status, 0) != 0) return false;
    return S_ISREG(status.st_mode);
}

}  // namespace

bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    return SameName(name.substr(name.size() - extension.size()), extension);
}

std::vector<std::string> ListFilesWithExtension(const std::string& directory, std::string_view extension) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.empty() || name.front() == '.') continue;
        if (!HasExtension(name, extension)) continue;
        if (IsRegularFile(dir, entry)) names.emplace_back(name);
    }
    closedir(dir);
    return names;
}

}  // namespace quenmark
