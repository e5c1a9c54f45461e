#pragma once

#include <string>

#include "base/context.h"
#include "definitions/profile_text.h"
#include "platform/installed_layout.h"

namespace quenmark {

// Where the user settings file lives and whether it is one this program
// reads.

constexpr const char* SettingsPurpose10 = "Quenmark Version 1.0 User Settings File";
constexpr const char* SettingsPurpose11 = "Quenmark Version 1.1 User Settings File";

// The login name of the effective user, at most 79 characters; empty when
// it cannot be obtained.
std::string GetLoginUserName();

// The bare name of the settings file: "~" + login name + ".cfg", or
// "Quenmark.cfg" without a login name.
std::string SettingsFileBaseName(const std::string& loginName);

// The program's folder of one kind for the user: xdgValue + "/quenmark/"
// for an absolute xdgValue (the $XDG_..._HOME variable of the kind), else
// home + "/" + homeRelative + "/quenmark/"; empty without either.
std::string XdgFolder(const std::string& homeDirectory, const std::string& xdgValue, const std::string& homeRelative);

// The directory used instead of the program directory when that cannot be
// written: configHome + "/quenmark/" for an absolute configHome
// ($XDG_CONFIG_HOME), else home + "/.config/quenmark/". Empty without either.
std::string FallbackSettingsDirectory(const std::string& homeDirectory, const std::string& configHome = {});

// What the choice of the settings file depends on.
struct TSettingsLocation {
    std::string ProgramDirectory;  // with its trailing "/"
    bool ProgramDirectoryWritable = true;
    std::string HomeDirectory;  // $HOME, or the password database's when unset
    std::string LoginName;
    std::string ConfigHome = {};  // $XDG_CONFIG_HOME
};

// The home directory the fallback folder follows: $HOME when set and not
// empty, otherwise the password database's.
std::string SettingsHomeDirectory();

// The settings file beside the program; in the fallback directory when the
// program directory cannot be written (or others can write it) and a home
// directory is known, so that an installed copy still keeps each user's
// settings.
std::string ChooseSettingsFileName(const TSettingsLocation& location);

// Whether files can be created and replaced in the directory.
// A file of this name beside the executable marks an installed copy, whose
// users keep their settings in their home directories.
constexpr const char* InstalledCopyMarker = InstalledCopyMarkerName;
bool IsInstalledCopy(const std::string& programDirectory);

bool IsDirectoryWritable(const std::string& directory);

// The settings file beside the program, which a program directory that can
// no longer be written still holds from earlier runs; its contents are read
// until the file chosen by ChooseSettingsFileName exists.
std::string ProgramDirectorySettingsFileName(const TSettingsLocation& location);

// The full path of the settings file for a program in programDirectory,
// asking the system for the user and the directory's permissions.
std::string GetSettingsFileName(const std::string& programDirectory);
// The same for the running program's own directory.
std::string GetSettingsFileName();

// True exactly when the file's "Purpose" in "Information" is the version
// 1.0 or 1.1 text, letter case included. A missing file gives false. The
// file is read through the context's store.
bool IsSettingsFileValid(const TCCContext& context, const std::string& fileName);
bool IsSettingsTextValid(const TProfileText& file);
// Whether a regular file is there that is not a settings file. Read line by
// line with its variables and history left on disk, so that checking a
// large file costs no more memory than its settings.
bool IsDamagedSettingsFile(const std::string& fileName);

// The file the settings are read from: fileName, or, while fileName does
// not exist, a valid settings file beside the program that it replaces
// (never one in a program directory that others can write).
std::string SettingsSourceFileName(const TCCContext& context, const std::string& fileName,
                                   const std::string& programDirectory);

}  // namespace quenmark
