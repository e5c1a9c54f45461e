#pragma once

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <string>

namespace quenmark {

// How long Acquire waits for a lock that another process holds, and whom it
// tells that it waits.
struct TLockWait {
    std::chrono::milliseconds Limit{5000};
    std::chrono::milliseconds NoticeAfter{500};
    // Called once when the lock is still taken after NoticeAfter; may be empty.
    std::function<void()> OnLongWait;
};

// What an attempt to take a lock came to.
enum class TLockResult {
    Held,
    Busy,         // another process kept it for the whole wait
    ForeignFile,  // the lock file belongs to another user and may not be replaced
    Failed,       // the lock file could not be opened or locked (errno)
};

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
    // waits for the lock as wait says. A symbolic link or any file that is
    // not a regular file is refused. A lock file of another user is never
    // used, since its owner could hold it for ever: with create set and a
    // directory of the user's own it is replaced by a fresh one, otherwise
    // the result is ForeignFile.
    TLockResult Acquire(const std::string& lockPath, Mode mode, bool create, const TLockWait& wait = {});
    void Release();
    bool Held() const { return FDescriptor >= 0; }

private:
    int FDescriptor = -1;
};

// The lock file that guards path: beside the file that path resolves to,
// named after it with ".lock" appended, so that every path to one file
// (through symbolic links or not) shares one lock. For a file that does not
// exist yet the directory is resolved and the name kept.
std::string LockFileName(const std::string& path);

}  // namespace quenmark
