#include "app/rescued_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <new>

#include "app/settings_file.h"

namespace quenmark {

namespace {

constexpr int MaxAttempts = 100;

std::string WithSlash(const std::string& directory) {
    return directory.back() == '/' ? directory : directory + "/";
}

bool CreateMissingDirectories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
        if (mkdir(directory.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

std::string RescueFileName(const std::string& directory, std::time_t when, int attempt) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = directory + "rescued-" + stamp;
    if (attempt >= 2) name += "-" + std::to_string(attempt);
    return name + ".cfg";
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

std::string RescueDirectory(const std::string& homeDirectory, const std::string& stateHome) {
    // A relative $XDG_STATE_HOME is invalid and ignored.
    if (!stateHome.empty() && stateHome.front() == '/') return WithSlash(stateHome) + "quenmark/";
    if (homeDirectory.empty()) return {};
    return WithSlash(homeDirectory) + ".local/state/quenmark/";
}

std::string RescueSettingsBytes(const std::string& directory, std::string_view bytes, std::time_t when) {
    if (directory.empty() || !CreateMissingDirectories(directory)) return {};
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        const std::string path = RescueFileName(directory, when, attempt);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
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
