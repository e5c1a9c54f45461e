#include "platform/runtime_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/directory_trust.h"

namespace quenmark {

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The fallback under the temporary directory. Another user may have made a
// directory of that name first; then it fails the private check and is not
// used.
std::string TemporaryRuntimeDirectory() {
    std::string base = EnvironmentValue("TMPDIR");
    if (base.empty() || base.front() != '/') base = "/tmp";
    const std::string path = WithoutTrailingSlash(base) + "/quenmark-" + std::to_string(geteuid());
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return IsPrivateDirectory(path) ? path : std::string();
}

}  // namespace

bool IsPrivateDirectory(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return false;
    return S_ISDIR(status.st_mode) && IsClosedToOthers(status.st_uid, status.st_mode, geteuid(), PrivateToUser);
}

std::string UserRuntimeDirectory() {
    const std::string runtime = WithoutTrailingSlash(EnvironmentValue("XDG_RUNTIME_DIR"));
    if (!runtime.empty() && runtime.front() == '/' && IsPrivateDirectory(runtime)) return runtime;
    return TemporaryRuntimeDirectory();
}

}  // namespace quenmark
