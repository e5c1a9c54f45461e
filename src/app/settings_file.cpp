#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/history_section.h"
#include "app/saved_variables.h"
#include "definitions/profile.h"
#include "definitions/profile_outline.h"
#include "platform/directory_trust.h"
#include "platform/program_directory.h"
#include "platform/user_account.h"

namespace quenmark {

std::string GetLoginUserName() { return LoginName(); }

std::string SettingsFileBaseName(const std::string& loginName) {
    return loginName.empty() ? std::string("Quenmark.cfg") : "~" + loginName + ".cfg";
}

namespace {

std::string WithSlash(const std::string& directory) {
    return directory.back() == '/' ? directory : directory + "/";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

std::string XdgFolder(const std::string& homeDirectory, const std::string& xdgValue, const std::string& homeRelative) {
    // A relative value is invalid and ignored.
    if (!xdgValue.empty() && xdgValue.front() == '/') return WithSlash(xdgValue) + "quenmark/";
    if (homeDirectory.empty()) return {};
    return WithSlash(homeDirectory) + homeRelative + "/quenmark/";
}

std::string FallbackSettingsDirectory(const std::string& homeDirectory, const std::string& configHome) {
    return XdgFolder(homeDirectory, configHome, ".config");
}

std::string SettingsHomeDirectory() {
    const std::string home = Environment("HOME");
    return home.empty() ? HomeDirectory() : home;
}

std::string ChooseSettingsFileName(const TSettingsLocation& location) {
    const std::string fallback = FallbackSettingsDirectory(location.HomeDirectory, location.ConfigHome);
    const bool useFallback = !location.ProgramDirectoryWritable && !fallback.empty();
    return (useFallback ? fallback : location.ProgramDirectory) + SettingsFileBaseName(location.LoginName);
}

bool IsDirectoryWritable(const std::string& directory) {
    // Creating and renaming a file needs write and search permission; a
    // read-only file system refuses even the superuser.
    return access(directory.c_str(), W_OK | X_OK) == 0;
}

bool IsInstalledCopy(const std::string& programDirectory) {
    return access((programDirectory + InstalledCopyMarker).c_str(), F_OK) == 0;
}

std::string GetSettingsFileName(const std::string& programDirectory) {
    TSettingsLocation location;
    location.ProgramDirectory = programDirectory;
    // An installed copy's directory belongs to the system, even where the
    // superuser could write to it; one that others can write is no place
    // for this user's settings.
    location.ProgramDirectoryWritable = IsDirectoryWritable(programDirectory) &&
                                        !IsInstalledCopy(programDirectory) && IsTrustedDirectory(programDirectory);
    location.HomeDirectory = SettingsHomeDirectory();
    location.ConfigHome = Environment("XDG_CONFIG_HOME");
    location.LoginName = GetLoginUserName();
    return ChooseSettingsFileName(location);
}

std::string ProgramDirectorySettingsFileName(const TSettingsLocation& location) {
    return location.ProgramDirectory + SettingsFileBaseName(location.LoginName);
}

std::string SettingsSourceFileName(const TCCContext& context, const std::string& fileName,
                                   const std::string& programDirectory) {
    TSettingsLocation location;
    location.ProgramDirectory = programDirectory;
    location.LoginName = GetLoginUserName();
    const std::string beside = ProgramDirectorySettingsFileName(location);
    if (beside == fileName || access(fileName.c_str(), F_OK) == 0 || errno != ENOENT) return fileName;
    // A file that others could have put there is not taken over.
    if (!IsTrustedDirectory(programDirectory)) return fileName;
    return IsSettingsFileValid(context, beside) ? beside : fileName;
}

std::string GetSettingsFileName() { return GetSettingsFileName(ProgramDirectory()); }

bool IsSettingsFileValid(const TCCContext& context, const std::string& fileName) {
    std::string purpose;
    ReadProfileString(context, fileName, "Information", "Purpose", purpose);
    return purpose == SettingsPurpose10 || purpose == SettingsPurpose11;
}

bool IsSettingsTextValid(const TProfileText& file) {
    const std::string* purpose = file.Value("Information", "Purpose");
    return purpose && (*purpose == SettingsPurpose10 || *purpose == SettingsPurpose11);
}

bool IsDamagedSettingsFile(const std::string& fileName) {
    const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    bool damaged = false;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        TProfileOutline outline;
        outline.Bodies.assign(2, {});
        damaged = ReadProfileOutline(fd, {VariablesSection, HistorySection}, outline) &&
                  !IsSettingsTextValid(outline.Text);
    }
    close(fd);
    return damaged;
}

}  // namespace quenmark
