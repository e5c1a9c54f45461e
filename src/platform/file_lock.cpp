#include "platform/file_lock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "platform/program_directory.h"

namespace quenmark {

namespace {

using TClock = std::chrono::steady_clock;

// How often a lock that another process holds is tried again.
constexpr int RetryMilliseconds = 10;
// How often a lock file that keeps being replaced under us is opened again.
constexpr int OpenAttempts = 8;

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

int OpenLockFile(const std::string& lockPath, bool create) {
    // O_NOFOLLOW: a link planted in a shared directory is never followed;
    // O_NONBLOCK: a FIFO in the lock file's place does not block the open.
    // A lock taken without creating the file only reads it: flock needs no
    // more, and a reader opens nothing for writing.
    const int flags = (create ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    return open(lockPath.c_str(), flags, 0600);
}

// Tries the lock until it comes or the wait's limit, counted from start,
// has passed; tells the wait's listener once when it takes long.
TLockResult WaitForLock(int fd, int operation, TClock::time_point start, const TLockWait& wait, bool& told) {
    for (;;) {
        if (flock(fd, operation | LOCK_NB) == 0) return TLockResult::Held;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return TLockResult::Failed;
        const auto waited = TClock::now() - start;
        if (waited >= wait.Limit) return TLockResult::Busy;
        if (!told && waited >= wait.NoticeAfter) {
            told = true;
            if (wait.OnLongWait) wait.OnLongWait();
        }
        poll(nullptr, 0, RetryMilliseconds);
    }
}

// Removes the lock file of another user that lockPath names, when its
// directory belongs to this user. The directory itself is locked meanwhile,
// so that of this user's processes only one removes the foreign file and
// none removes the fresh file another has just put in its place.
bool RemoveForeignLockFile(const std::string& lockPath, const struct stat& foreign, const TLockWait& wait) {
    const int directory = open(DirectoryOfPath(lockPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) return false;
    struct stat status {};
    bool removed = false;
    if (fstat(directory, &status) == 0 && status.st_uid == geteuid()) {
        bool told = true;  // the wait for the directory is not worth a notice
        if (WaitForLock(directory, LOCK_EX, TClock::now(), wait, told) == TLockResult::Held) {
            struct stat now {};
            removed = lstat(lockPath.c_str(), &now) != 0 || !SameFile(now, foreign) ||
                      unlink(lockPath.c_str()) == 0 || errno == ENOENT;
        }
    } else {
        errno = EPERM;
    }
    const int error = errno;
    close(directory);  // releases the directory's lock
    errno = error;
    return removed;
}

// Whether lockPath still names the file open as fd: a lock on a file that
// was replaced meanwhile guards nothing.
bool StillNamedBy(const std::string& lockPath, const struct stat& locked) {
    struct stat now {};
    return lstat(lockPath.c_str(), &now) == 0 && SameFile(now, locked);
}

}  // namespace

TFileLock::~TFileLock() { Release(); }

TFileLock::TFileLock(TFileLock&& other) noexcept : FDescriptor(std::exchange(other.FDescriptor, -1)) {}

TFileLock& TFileLock::operator=(TFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        FDescriptor = std::exchange(other.FDescriptor, -1);
    }
    return *this;
}

TLockResult TFileLock::Acquire(const std::string& lockPath, Mode mode, bool create, const TLockWait& wait) {
    Release();
    const auto start = TClock::now();
    const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    bool told = false;
    TLockResult result = TLockResult::Failed;
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        const int fd = OpenLockFile(lockPath, create);
        if (fd < 0) return TLockResult::Failed;
        struct stat status {};
        if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            close(fd);
            errno = EINVAL;
            return TLockResult::Failed;
        }
        if (status.st_uid != geteuid()) {
            close(fd);
            result = TLockResult::ForeignFile;
            if (!create || !RemoveForeignLockFile(lockPath, status, wait)) return result;
            continue;
        }
        result = WaitForLock(fd, operation, start, wait, told);
        if (result == TLockResult::Held && StillNamedBy(lockPath, status)) {
            FDescriptor = fd;
            return result;
        }
        const int error = errno;
        close(fd);
        errno = error;
        if (result != TLockResult::Held) return result;
    }
    errno = EAGAIN;
    return result == TLockResult::Held ? TLockResult::Failed : result;
}

void TFileLock::Release() {
    if (FDescriptor < 0) return;
    close(FDescriptor);  // closing the last descriptor releases the lock
    FDescriptor = -1;
}

std::string LockFileName(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) return std::string(resolved) + ".lock";
    // Not there yet (or a dangling link, which a save replaces by the file
    // itself): the file will be made in its directory under its own name.
    const std::string directory = DirectoryOfPath(path);
    const std::string name = path.substr(path.rfind('/') + 1);  // the whole path when it has no "/"
    if (!realpath(directory.c_str(), resolved)) return path + ".lock";
    std::string lock = resolved;
    if (lock.back() != '/') lock += '/';
    return lock + name + ".lock";
}

}  // namespace quenmark
