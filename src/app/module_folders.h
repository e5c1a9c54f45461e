#pragma once

#include <string>
#include <vector>

namespace quenmark {

// A folder that modules are loaded from.
struct TModuleFolder {
    std::string Path;  // ends with "/"
    // The user's own folder: used only while it is the user's and closed to
    // writes of others; the other folders may belong to root.
    bool UserFolder = false;
    bool operator==(const TModuleFolder&) const = default;
};

// The folder that administrators install modules into for every user.
constexpr const char* LocalModuleFolder = "/usr/local/lib/quenmark/modules/";

// The folders in the order their modules load: the shipped folder, the
// local folder, then the user's: dataHome + "/quenmark/modules/" for an
// absolute dataHome ($XDG_DATA_HOME), else home +
// "/.local/share/quenmark/modules/" (left out without either). A folder
// named twice is listed once, where it first comes.
std::vector<TModuleFolder> ModuleFolders(const std::string& shippedFolder, const std::string& localFolder,
                                         const std::string& homeDirectory, const std::string& dataHome);
// The same from the environment.
std::vector<TModuleFolder> ModuleFolders(const std::string& shippedFolder);

// Whether the user's folder may give code: a folder itself (not a symbolic
// link) that belongs to the user and that neither group nor others can
// write, as the runtime folder is checked.
bool IsUsableUserModuleFolder(const std::string& path);

// The module files of a folder ("*.vmx", letter case ignored, hidden ones
// left out), ordered by name byte by byte so that the load order does not
// depend on the file system.
std::vector<std::string> ModuleFileNames(const std::string& folder);

}  // namespace quenmark
