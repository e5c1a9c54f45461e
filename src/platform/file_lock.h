#pragma once

#include <string>

namespace quenmark {

// An advisory lock (flock) on a lock file, held while the object lives.
// Processes that change the same file take the lock first, so that one
// reads, changes and replaces the file while the others wait.
class TFileLock {
public:
    enum class Mode { Shared, Exclusive };

    TFileLock() = default;
    ~TFileLock();
    TFileLock(TFileLock&& other) noexcept;
    TFileLock& operator=(TFileLock&& other) noexcept;
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    // Opens the lock file, creating it (owner only) when create is set, and
    // waits for the lock. A symbolic link or any file that is not a regular
    // file is refused. Returns whether the lock is held; errno tells why not.
    bool Acquire(const std::string& lockPath, Mode mode, bool create);
    void Release();
    bool Held() const { return FDescriptor >= 0; }

private:
    int FDescriptor = -1;
};

// The lock file that guards path: the same name with ".lock" appended.
std::string LockFileName(const std::string& path);

}  // namespace quenmark
