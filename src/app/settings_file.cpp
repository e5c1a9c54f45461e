#include "app/settings_file.h"

#include <unistd.h>

#include "definitions/profile.h"
#include "platform/program_directory.h"
#include "platform/user_account.h"

namespace quenmark {

std::string GetLoginUserName() { return LoginName(); }

std::string SettingsFileBaseName(const std::string& loginName) {
    return loginName.empty() ? std::string("Quenmark.cfg") : "~" + loginName + ".cfg";
}

std::string FallbackSettingsDirectory(const std::string& homeDirectory) {
    if (homeDirectory.empty()) return {};
    const bool endsWithSlash = homeDirectory.back() == '/';
    return homeDirectory + (endsWithSlash ? "" : "/") + ".config/quenmark/";
}

std::string ChooseSettingsFileName(const TSettingsLocation& location) {
    const std::string fallback = FallbackSettingsDirectory(location.HomeDirectory);
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
    // superuser could write to it.
    location.ProgramDirectoryWritable = IsDirectoryWritable(programDirectory) && !IsInstalledCopy(programDirectory);
    location.HomeDirectory = HomeDirectory();
    location.LoginName = GetLoginUserName();
    return ChooseSettingsFileName(location);
}

std::string GetSettingsFileName() { return GetSettingsFileName(ProgramDirectory()); }

bool IsSettingsFileValid(const std::string& fileName) {
    std::string purpose;
    ReadProfileString(fileName, "Information", "Purpose", purpose);
    return purpose == SettingsPurpose10 || purpose == SettingsPurpose11;
}

}  // namespace quenmark
