#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "definitions/temp_directory.h"
#include "support/child_process.h"
#include "support/other_user.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

// The id of a process that has ended and been reaped.
pid_t EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::set<std::string> FileNames(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

size_t FileCount(const std::string& directory) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
    return count;
}

TEST(AtomicFileTest, CreatesANewFile) {
    TempDirectory dir;
    const auto written = ReplaceFileContents(dir.PathOf("new.cfg"), "abc\r\n");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->st_size, 5);
    EXPECT_EQ(dir.Read("new.cfg"), "abc\r\n");
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, ReplacesTheFileByANewOne) {
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", "old contents");
    struct stat old {};
    stat(path.c_str(), &old);
    const auto written = ReplaceFileContents(path, "new");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(dir.Read("s.cfg"), "new");
    EXPECT_NE(written->st_ino, old.st_ino) << "the old file is replaced, never rewritten in place";
    struct stat now {};
    stat(path.c_str(), &now);
    EXPECT_EQ(now.st_ino, written->st_ino);
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, AFileThatCannotBeCreatedChangesNothing) {
    TempDirectory dir;
    EXPECT_FALSE(ReplaceFileContents(dir.PathOf("missing/s.cfg"), "x").has_value());
    std::filesystem::create_directory(dir.PathOf("sub"));
    dir.Write("sub/keep", "kept");
    EXPECT_FALSE(ReplaceFileContents(dir.PathOf("sub"), "x").has_value()) << "a directory is not replaced";
    EXPECT_EQ(dir.Read("sub/keep"), "kept");
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, RemovesTheTemporaryFilesOfKilledSavesOnly) {
    TempDirectory dir;
    const std::string ended = std::to_string(EndedProcessId());
    const std::string running = std::to_string(getppid());
    const std::string path = dir.Write("s.cfg", "old");
    const std::vector<std::string> kept = {
        ".s.cfg.tmp" + running + ".4",  // a save in progress elsewhere
        ".s.cfg.tmp" + ended,           // not a name of ours: no counter
        ".s.cfg.tmp" + ended + ".x",    // not a name of ours: no number
        ".t.cfg.tmp" + ended + ".1",    // another file's save
        "s.cfg.tmp" + ended + ".1",     // not hidden
    };
    for (const std::string& name : kept) dir.Write(name, "partial");
    dir.Write(".s.cfg.tmp" + ended + ".0", "partial");
    dir.Write(".s.cfg.tmp" + ended + ".17", "partial");

    ASSERT_TRUE(ReplaceFileContents(path, "new").has_value());

    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert("s.cfg");
    EXPECT_EQ(FileNames(dir.Path()), expected);
    EXPECT_EQ(dir.Read("s.cfg"), "new");
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// A new file is private to its owner whatever the umask; an existing one
// keeps its permission bits.
TEST(AtomicFileTest, ANewFileIsPrivateAndAnOldOneKeepsItsMode) {
    const mode_t oldMask = umask(0);
    const struct {
        const char* Behaviour;
        bool Exists;
        mode_t Before;
        mode_t After;
    } rows[] = {
        {"new file", false, 0, 0600},
        {"private file", true, 0600, 0600},
        {"group-readable file", true, 0640, 0640},
        {"world-readable file", true, 0644, 0644},
    };
    for (const auto& row : rows) {
        TempDirectory dir;
        const std::string path = dir.PathOf("s.cfg");
        if (row.Exists) {
            dir.Write("s.cfg", "old");
            chmod(path.c_str(), row.Before);
        }
        ASSERT_TRUE(ReplaceFileContents(path, "new").has_value()) << row.Behaviour;
        EXPECT_EQ(ModeOf(path), row.After) << row.Behaviour;
    }
    umask(oldMask);
}

// Watches directory for new and renamed-in files, opens each as soon as it
// shows, and reads them all once stopFd becomes readable; returns how many
// gave up any bytes.
int CountFilesReadWhileWatching(const std::string& directory, int readyFd, int stopFd) {
    const int events = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (events < 0 || inotify_add_watch(events, directory.c_str(), IN_CREATE | IN_MOVED_TO) < 0) return 121;
    if (write(readyFd, "r", 1) != 1) return 122;
    std::vector<int> opened;
    pollfd watched[2] = {{events, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        poll(watched, 2, -1);
        alignas(inotify_event) char buffer[65536];
        const ssize_t count = read(events, buffer, sizeof buffer);
        if (count <= 0) {
            if (watched[1].revents != 0) break;
            continue;
        }
        for (ssize_t at = 0; at < count;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const int fd = open((directory + event->name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) opened.push_back(fd);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    int readable = 0;
    for (const int fd : opened) {
        char byte;
        if (pread(fd, &byte, 1, 0) == 1) ++readable;
    }
    return std::min(readable, 100);
}

// Another user who watches the folder and opens every file the moment it
// appears reads nothing of a private file's saves.
TEST(AtomicFileTest, AnotherUserWatchingTheFolderReadsNothingOfAPrivateFile) {
    if (!CanActAsOtherUser()) GTEST_SKIP() << "needs the superuser to start a second user's process";
    TempDirectory dir;
    chmod(dir.Path().c_str(), 0755);
    const std::string path = dir.Write("s.cfg", "secret");
    chmod(path.c_str(), 0600);
    int ready[2];
    int stop[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(stop), 0);
    const pid_t watcher = StartAsOtherUser([&] { return CountFilesReadWhileWatching(dir.Path(), ready[1], stop[0]); });
    char signal;
    ASSERT_EQ(read(ready[0], &signal, 1), 1) << "the watcher did not start";
    for (int save = 0; save < 300; ++save)
        ASSERT_TRUE(ReplaceFileContents(path, "secret line " + std::to_string(save) + "\n").has_value());
    ASSERT_EQ(write(stop[1], "s", 1), 1);
    int status = 0;
    ASSERT_TRUE(EndedInTime(watcher, status));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "files of the saves the other user could read";
    for (const int fd : {ready[0], ready[1], stop[0], stop[1]}) close(fd);
}

}  // namespace
}  // namespace quenmark
