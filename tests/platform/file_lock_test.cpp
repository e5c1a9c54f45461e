#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "definitions/temp_directory.h"
#include "support/child_process.h"
#include "support/other_user.h"

namespace quenmark {
namespace {

using testing::TempDirectory;
using namespace std::chrono_literals;

// Takes the lock on path (creating the file) and tells readyFd; holds it
// until the process ends.
int HoldLock(const std::string& path, int readyFd) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || flock(fd, LOCK_EX) != 0) return 1;
    if (write(readyFd, "r", 1) != 1) return 2;
    for (;;) pause();
}

// A process that holds the lock on path, as this user or as the other one;
// ended with the object.
class TLockHolder {
public:
    TLockHolder(const std::string& path, bool asOtherUser) {
        int ready[2];
        if (pipe(ready) != 0) return;
        const auto body = [&] { return HoldLock(path, ready[1]); };
        FPid = asOtherUser ? StartAsOtherUser(body) : fork();
        if (FPid == 0) _exit(body());
        close(ready[1]);
        char signal;
        FReady = read(ready[0], &signal, 1) == 1;
        close(ready[0]);
    }
    ~TLockHolder() { End(); }
    bool Ready() const { return FReady; }
    void End() {
        if (FPid <= 0) return;
        kill(FPid, SIGKILL);
        int status = 0;
        EndedInTime(FPid, status);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    bool FReady = false;
};

uid_t OwnerOf(const std::string& path) {
    struct stat status {};
    lstat(path.c_str(), &status);
    return status.st_uid;
}

// Every path to one file gives one lock file, beside the file itself.
TEST(LockFileNameTest, EveryPathToAFileSharesOneLockBesideIt) {
    TempDirectory dir;
    const std::string real = dir.PathOf("real/");
    std::filesystem::create_directory(real);
    dir.Write("real/s.cfg", "x");
    std::filesystem::create_symlink(real + "s.cfg", dir.PathOf("link.cfg"));
    std::filesystem::create_directory_symlink(real, dir.PathOf("folder"));
    std::filesystem::create_symlink(dir.PathOf("real/gone.cfg"), dir.PathOf("dangling.cfg"));
    const struct {
        std::string Path;
        std::string Lock;
    } rows[] = {
        {real + "s.cfg", real + "s.cfg.lock"},
        {dir.PathOf("link.cfg"), real + "s.cfg.lock"},
        {dir.PathOf("folder/s.cfg"), real + "s.cfg.lock"},
        {dir.PathOf("real/../real/s.cfg"), real + "s.cfg.lock"},
        {dir.PathOf("folder/new.cfg"), real + "new.cfg.lock"},  // not made yet
        {dir.PathOf("dangling.cfg"), dir.PathOf("dangling.cfg.lock")},  // a save replaces the link itself
    };
    for (const auto& row : rows) EXPECT_EQ(LockFileName(row.Path), row.Lock) << row.Path;
}

// A lock that another process keeps is waited for up to the limit only,
// with one notice once the wait has taken a while.
TEST(FileLockTest, TheWaitForALockKeptElsewhereIsBoundedAndAnnouncedOnce) {
    TempDirectory dir;
    const std::string path = dir.PathOf("s.cfg.lock");
    TLockHolder holder(path, false);
    ASSERT_TRUE(holder.Ready());
    int notices = 0;
    const TLockWait wait{300ms, 50ms, [&notices] { ++notices; }};
    TFileLock lock;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(lock.Acquire(path, TFileLock::Mode::Exclusive, true, wait), TLockResult::Busy);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(notices, 1);
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 5s);
    holder.End();
    EXPECT_EQ(lock.Acquire(path, TFileLock::Mode::Shared, false, wait), TLockResult::Held) << "free once it ends";
    EXPECT_EQ(notices, 1) << "a lock that comes at once is not announced";
}

// A lock file another user put into a folder of the user's own, and holds,
// is replaced by one of the user's own at once.
TEST(FileLockTest, AnotherUsersLockFileInTheUsersFolderIsReplaced) {
    if (!CanActAsOtherUser()) GTEST_SKIP() << "needs the superuser to start a second user's process";
    TempDirectory dir;
    chmod(dir.Path().c_str(), 0777);
    const std::string path = dir.PathOf("s.cfg.lock");
    TLockHolder holder(path, true);
    ASSERT_TRUE(holder.Ready());
    ASSERT_EQ(OwnerOf(path), OtherUserId);
    TFileLock reader;
    EXPECT_EQ(reader.Acquire(path, TFileLock::Mode::Shared, false), TLockResult::ForeignFile)
        << "a reader leaves the file alone";
    const TLockWait wait{3s, 1s, nullptr};
    TFileLock lock;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(lock.Acquire(path, TFileLock::Mode::Exclusive, true, wait), TLockResult::Held);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "it waited for the other user's lock";
    EXPECT_EQ(OwnerOf(path), geteuid());
}

// In a folder of another user their lock file cannot be replaced: the lock
// is refused, not waited for.
TEST(FileLockTest, AnotherUsersLockFileInTheirFolderIsRefused) {
    if (!CanActAsOtherUser()) GTEST_SKIP() << "needs the superuser to give files to another user";
    TempDirectory dir;
    const std::string folder = dir.PathOf("theirs/");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "s.cfg.lock";
    dir.Write("theirs/s.cfg.lock", "");
    ASSERT_EQ(chown(path.c_str(), OtherUserId, OtherGroupId), 0);
    ASSERT_EQ(chown(folder.c_str(), OtherUserId, OtherGroupId), 0);
    chmod(folder.c_str(), 0777);
    TFileLock lock;
    EXPECT_EQ(lock.Acquire(path, TFileLock::Mode::Exclusive, true), TLockResult::ForeignFile);
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(OwnerOf(path), OtherUserId);
}

}  // namespace
}  // namespace quenmark
