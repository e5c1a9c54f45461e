#include "app/module_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "app/settings_file.h"
#include "platform/directory_trust.h"
#include "platform/file_listing.h"

namespace quenmark {

namespace {

std::string WithSlash(const std::string& path) {
    return path.empty() || path.back() == '/' ? path : path + "/";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

void AddOnce(std::vector<TModuleFolder>& folders, TModuleFolder folder) {
    if (folder.Path.empty()) return;
    folder.Path = WithSlash(folder.Path);
    for (const TModuleFolder& known : folders)
        if (known.Path == folder.Path) return;
    folders.push_back(std::move(folder));
}

}  // namespace

std::vector<TModuleFolder> ModuleFolders(const std::string& shippedFolder, const std::string& localFolder,
                                         const std::string& homeDirectory, const std::string& dataHome) {
    std::vector<TModuleFolder> folders;
    AddOnce(folders, {shippedFolder, false});
    AddOnce(folders, {localFolder, false});
    const std::string userData = XdgFolder(homeDirectory, dataHome, ".local/share");
    if (!userData.empty()) AddOnce(folders, {userData + "modules/", true});
    return folders;
}

std::vector<TModuleFolder> ModuleFolders(const std::string& shippedFolder) {
    return ModuleFolders(shippedFolder, LocalModuleFolder, SettingsHomeDirectory(), Environment("XDG_DATA_HOME"));
}

bool IsUsableUserModuleFolder(const std::string& path) {
    struct stat status {};
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (lstat(folder.c_str(), &status) != 0) return false;
    return S_ISDIR(status.st_mode) &&
           IsClosedToOthers(status.st_uid, status.st_mode, geteuid(), TOwnerRule{false, 022});
}

std::vector<std::string> ModuleFileNames(const std::string& folder) {
    std::vector<std::string> names = ListFilesWithExtension(folder, ".vmx");
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace quenmark
