#include "platform/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/program_directory.h"

namespace quenmark {

namespace {

// The file that a write to path changes: the target of a symbolic link.
std::string ResolveTarget(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return path;
    return resolved;
}

// Creates a new, empty temporary file beside target; returns its descriptor.
int CreateTemporaryFile(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    const std::string directory = target.find('/') == std::string::npos ? std::string() : DirectoryOfPath(target);
    const std::string name = target.substr(directory.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = directory + "." + name + ".tmp" + std::to_string(getpid()) + "." + std::to_string(counter++);
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncDirectoryOf(const std::string& target) {
    const std::string directory = target.find('/') == std::string::npos ? "." : DirectoryOfPath(target);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Writes, flushes and closes the temporary file; returns its status.
std::optional<struct stat> FillTemporaryFile(int fd, const std::string& target, std::string_view contents) {
    struct stat old {};
    bool ok = true;
    if (stat(target.c_str(), &old) == 0) ok = fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, contents) && fsync(fd) == 0;
    struct stat written {};
    ok = ok && fstat(fd, &written) == 0;
    ok = (close(fd) == 0) && ok;
    if (!ok) return std::nullopt;
    return written;
}

}  // namespace

std::optional<struct stat> ReplaceFileContents(const std::string& path, std::string_view contents) {
    const std::string target = ResolveTarget(path);
    std::string temporaryPath;
    const int fd = CreateTemporaryFile(target, temporaryPath);
    if (fd < 0) return std::nullopt;
    std::optional<struct stat> written = FillTemporaryFile(fd, target, contents);
    if (!written || rename(temporaryPath.c_str(), target.c_str()) != 0) {
        unlink(temporaryPath.c_str());
        return std::nullopt;
    }
    SyncDirectoryOf(target);
    return written;
}

}  // namespace quenmark
