#include "app/damaged_settings.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace quenmark {

namespace {

constexpr int MaxAttempts = 1000;

// rename that fails with EEXIST instead of replacing an existing file.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: link refuses an existing name too.
    if (link(from.c_str(), to.c_str()) != 0) return false;
    unlink(from.c_str());
    return true;
}

}  // namespace

std::string FileTimeStamp(std::time_t when, int attempt) {
    std::tm local {};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string text = stamp;
    if (attempt >= 2) text += "-" + std::to_string(attempt);
    return text;
}

std::string DamagedFileName(const std::string& fileName, std::time_t when, int attempt) {
    return fileName + ".damaged-" + FileTimeStamp(when, attempt);
}

std::string MoveDamagedFileAside(const std::string& fileName, std::time_t when) {
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        const std::string target = DamagedFileName(fileName, when, attempt);
        if (RenameWithoutReplacing(fileName, target)) return target;
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace quenmark
