#include "platform/installed_layout.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/installed_paths.h"
#include "platform/program_directory.h"

namespace quenmark {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string ChooseShippedFolder(const std::string& programDirectory, const std::string& relativeFolder) {
    if (access((programDirectory + InstalledCopyMarkerName).c_str(), F_OK) != 0) return programDirectory;
    const std::string folder = programDirectory + relativeFolder;
    if (!IsDirectory(folder)) return programDirectory;
    // The program folder is a resolved path, so ".." can be taken lexically.
    std::string normal = std::filesystem::path(folder).lexically_normal().string();
    if (normal.back() != '/') normal += '/';
    return normal;
}

const std::string& DataDirectory() {
    static const std::string directory = ChooseShippedFolder(ProgramDirectory(), InstalledDataFromProgram);
    return directory;
}

const std::string& ShippedModuleDirectory() {
    static const std::string directory = ChooseShippedFolder(ProgramDirectory(), InstalledModulesFromProgram);
    return directory;
}

}  // namespace quenmark
