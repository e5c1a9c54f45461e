#include "platform/program_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <vector>

namespace quenmark {

namespace {

std::string ReadExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);  // the path may have been cut: try again with more room
    }
}

}  // namespace

std::string DirectoryOfPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

bool CreatePrivateDirectories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
        if (mkdir(directory.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

const std::string& ProgramDirectory() {
    static const std::string directory = DirectoryOfPath(ReadExecutablePath());
    return directory;
}

}  // namespace quenmark
