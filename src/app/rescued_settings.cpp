#include "app/rescued_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <new>

#include "app/damaged_settings.h"
#include "app/settings_file.h"
#include "platform/atomic_file.h"
#include "platform/program_directory.h"

namespace quenmark {

namespace {

constexpr int MaxAttempts = 100;

std::string RescueFileName(const std::string& directory, std::time_t when, int attempt) {
    return directory + "rescued-" + FileTimeStamp(when, attempt) + ".cfg";
}


}  // namespace

std::string RescueDirectory(const std::string& homeDirectory, const std::string& stateHome) {
    return XdgFolder(homeDirectory, stateHome, ".local/state");
}

std::string RescueSettingsBytes(const std::string& directory, std::string_view bytes, std::time_t when) {
    if (directory.empty() || !CreatePrivateDirectories(directory)) return {};
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        const std::string path = RescueFileName(directory, when, attempt);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        const bool written = WriteAllBytes(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
        if (close(fd) == 0 && written) return path;
        unlink(path.c_str());
        return {};
    }
    return {};
}

std::string RescueSettingsBytes(std::string_view bytes) {
    const char* stateHome = std::getenv("XDG_STATE_HOME");
    return RescueSettingsBytes(RescueDirectory(SettingsHomeDirectory(), stateHome ? stateHome : ""), bytes,
                               std::time(nullptr));
}

bool RescueAfterFailedSave(const TCCContext& context, std::string_view bytes, const std::string& programName) {
    const std::string path = RescueSettingsBytes(bytes);
    if (path.empty()) {
        std::cerr << programName << ": " << context.GetText("QEN451") << std::endl;
        return false;
    }
    std::cerr << programName << ": " << context.GetTextWith("QEN450", path) << std::endl;
    return true;
}

bool WritePreparedOrRescue(const TCCContext& context, TPreparedSave& prepared, const std::string& programName) {
    if (prepared.WriteNow()) return true;
    std::string bytes;
    try {
        bytes = prepared.Contents();
    } catch (const std::bad_alloc&) {
        std::cerr << programName << ": " << context.GetText("QEN451") << std::endl;
        return false;
    }
    return RescueAfterFailedSave(context, bytes, programName);
}

}  // namespace quenmark
