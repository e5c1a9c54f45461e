#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quenmark {

TFileLock::~TFileLock() { Release(); }

TFileLock::TFileLock(TFileLock&& other) noexcept : FDescriptor(std::exchange(other.FDescriptor, -1)) {}

TFileLock& TFileLock::operator=(TFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        FDescriptor = std::exchange(other.FDescriptor, -1);
    }
    return *this;
}

bool TFileLock::Acquire(const std::string& lockPath, Mode mode, bool create) {
    Release();
    // O_NOFOLLOW: a link planted in a shared directory is never followed;
    // O_NONBLOCK: a FIFO in the lock file's place does not block the open.
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | (create ? O_CREAT : 0);
    int fd = open(lockPath.c_str(), flags, 0600);
    if (fd < 0 && !create && (errno == EACCES || errno == EROFS))
        fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        errno = EINVAL;
        return false;
    }
    const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
    while (flock(fd, operation) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        close(fd);
        errno = error;
        return false;
    }
    FDescriptor = fd;
    return true;
}

void TFileLock::Release() {
    if (FDescriptor < 0) return;
    close(FDescriptor);  // closing the last descriptor releases the lock
    FDescriptor = -1;
}

std::string LockFileName(const std::string& path) { return path + ".lock"; }

}  // namespace quenmark
