#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <algorithm>

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

// The directory part of target, ending in "/", or empty for a bare name.
std::string DirectoryPart(const std::string& target) {
    return target.find('/') == std::string::npos ? std::string() : DirectoryOfPath(target);
}

// Temporary files of target are named ".NAME.tmpPID.N"; this is their
// common start.
std::string TemporaryPrefix(const std::string& target) {
    return "." + target.substr(DirectoryPart(target).size()) + ".tmp";
}

// The writing process's id in a temporary file's name, or 0 when the name
// is not one of ours.
pid_t WriterOfTemporary(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* digits = name.c_str() + prefix.size();
    char* end = nullptr;
    errno = 0;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || *end != '.' || end[1] == '\0' || errno != 0 || pid <= 0 || pid > INT_MAX) return 0;
    for (const char* counter = end + 1; *counter != '\0'; ++counter) {
        if (*counter < '0' || *counter > '9') return 0;
    }
    return static_cast<pid_t>(pid);
}

// Removes the temporary files that saves of target left behind when their
// process was killed. A file whose writer still runs may be a save in
// progress and is kept.
void RemoveStaleTemporaryFiles(const std::string& target) {
    const std::string directory = DirectoryPart(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const pid_t writer = WriterOfTemporary(entry->d_name, prefix);
        if (writer == 0 || writer == getpid()) continue;
        if (kill(writer, 0) != 0 && errno == ESRCH) unlink((directory + entry->d_name).c_str());
    }
    closedir(dir);
}

// Creates a new, empty temporary file beside target; returns its descriptor.
int CreateTemporaryFile(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = DirectoryPart(target) + TemporaryPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = stem + std::to_string(getpid()) + "." + std::to_string(counter++);
        // Private from the start: a file opened while it is wider stays
        // readable through that descriptor whatever mode it gets later.
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view contents) { return WriteAllBytes(fd, contents.data(), contents.size()); }

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncDirectoryOf(const std::string& target) {
    const std::string directory = DirectoryPart(target);
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Writes, flushes and closes the temporary file, which takes the target's
// permission bits once it is written; returns its status.
std::optional<struct stat> FillTemporaryFile(int fd, const std::string& target, std::string_view contents) {
    bool ok = WriteAll(fd, contents);
    struct stat old {};
    if (ok && stat(target.c_str(), &old) == 0 && (old.st_mode & 07777) != 0600)
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && fsync(fd) == 0;
    struct stat written {};
    ok = ok && fstat(fd, &written) == 0;
    const int error = errno;
    // A full disk may show only when the data is flushed at the close.
    if (close(fd) != 0 && ok) return std::nullopt;
    if (!ok) {
        errno = error;
        return std::nullopt;
    }
    return written;
}

}  // namespace

bool WriteAllBytes(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }


void TFileBlockWriter::Put(std::string_view bytes) {
    while (!bytes.empty()) {
        if (FUsed == sizeof FBuffer && !Flush()) return;
        const size_t part = std::min(bytes.size(), sizeof FBuffer - FUsed);
        std::memcpy(FBuffer + FUsed, bytes.data(), part);
        FUsed += part;
        bytes.remove_prefix(part);
    }
}

bool TFileBlockWriter::Flush() {
    if (!FFailed && !WriteAll(FFd, {FBuffer, FUsed})) {
        FFailed = true;
        FError = errno;
    }
    FUsed = 0;
    if (FFailed) errno = FError;
    return !FFailed;
}

namespace {

// Fills the temporary file through produce and flushes it; an exception
// from produce closes the file and is passed on.
std::optional<struct stat> ProduceTemporaryFile(int fd, const std::string& target,
                                                const std::function<bool(TFileBlockWriter&)>& produce) {
    bool produced = false;
    try {
        TFileBlockWriter writer(fd);
        produced = produce(writer) && writer.Flush();
    } catch (...) {
        close(fd);
        throw;
    }
    if (!produced) {
        const int error = errno;
        close(fd);
        errno = error;
        return std::nullopt;
    }
    // The bytes are in; the rest (permissions, flush, close) as for a whole text.
    return FillTemporaryFile(fd, target, {});
}

}  // namespace

std::optional<struct stat> ReplaceFileStreamed(const std::string& path,
                                               const std::function<bool(TFileBlockWriter&)>& produce) {
    const std::string target = ResolveTarget(path);
    RemoveStaleTemporaryFiles(target);
    std::string temporaryPath;
    const int fd = CreateTemporaryFile(target, temporaryPath);
    if (fd < 0) return std::nullopt;
    std::optional<struct stat> written;
    try {
        written = ProduceTemporaryFile(fd, target, produce);
    } catch (...) {
        unlink(temporaryPath.c_str());
        throw;
    }
    if (!written || rename(temporaryPath.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporaryPath.c_str());
        errno = error;
        return std::nullopt;
    }
    SyncDirectoryOf(target);
    return written;
}

std::optional<struct stat> ReplaceFileContents(const std::string& path, std::string_view contents) {
    return ReplaceFileStreamed(path, [contents](TFileBlockWriter& out) {
        out.Put(contents);
        return true;
    });
}

}  // namespace quenmark
