// The settings file's lock as saves and the start-up read use it: a lock
// that another process keeps, and a lock file of another user.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/settings.h"
#include "settings_test_directory.h"
#include "support/child_process.h"
#include "support/echo_messages.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::SettingsText;
using test::TempDirectory;
using test::WriteTextFile;
using namespace std::chrono_literals;

// The lock wait shortened for a test, with the notices collected; the
// run's own wait is put back afterwards.
class SettingsLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = SettingsLockWait();
        SettingsLockWait().Limit = 300ms;
        SettingsLockWait().NoticeAfter = 50ms;
        SettingsLockWait().Notice = [this](const std::string& text) { notices_.push_back(text); };
    }
    void TearDown() override {
        SettingsLockWait() = saved_;
        if (holder_ > 0) {
            kill(holder_, SIGKILL);
            int status = 0;
            EndedInTime(holder_, status);
        }
    }

    // Another process of the same user takes the file's lock and keeps it.
    void KeepLockedElsewhere(const std::string& file) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        holder_ = fork();
        if (holder_ == 0) {
            const int fd = open(LockFileName(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(ready[1], "r", 1) != 1) _exit(1);
            for (;;) pause();
        }
        char signal;
        ASSERT_EQ(read(ready[0], &signal, 1), 1);
        close(ready[0]);
        close(ready[1]);
    }

    testing::EchoContext context_;
    std::vector<std::string> notices_;
    pid_t holder_ = -1;

private:
    TSettingsLockWait saved_;
};

// A save gives up after the wait with its reason, leaving the file as it
// was; the user was told what it waited for.
TEST_F(SettingsLockTest, ASaveGivesUpOnALockKeptElsewhere) {
    const TempDirectory dir;
    const std::string file = dir.File("s.cfg");
    WriteTextFile(file, SettingsText("[Others]\r\nFontSize=20\r\n"));
    KeepLockedElsewhere(file);
    TSettings settings(context_, file);
    settings.FontSize = 30;
    const TSaveOutcome outcome = settings.SaveReporting();
    EXPECT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.Reason, "QEN411");
    EXPECT_EQ(notices_, std::vector<std::string>{"QEN410: " + file});
    EXPECT_EQ(ReadTextFile(file), SettingsText("[Others]\r\nFontSize=20\r\n"));
}

// The start-up read goes on without the lock once the wait is over, and
// says so.
TEST_F(SettingsLockTest, TheStartUpReadGoesOnWithoutALockKeptElsewhere) {
    const TempDirectory dir;
    const std::string file = dir.File("s.cfg");
    WriteTextFile(file, SettingsText("[Others]\r\nFontSize=20\r\n"));
    KeepLockedElsewhere(file);
    TSettings settings(context_, file);
    settings.Load();
    EXPECT_EQ(settings.FontSize, 20);
    EXPECT_EQ(notices_, (std::vector<std::string>{"QEN410: " + file, "QEN412: " + file}));
}

// Where another user's lock file cannot be replaced, the save is refused
// with the reason, not left waiting.
TEST_F(SettingsLockTest, AnotherUsersLockFileInTheirFolderRefusesTheSave) {
    if (geteuid() != 0) GTEST_SKIP() << "needs the superuser to give files to another user";
    const TempDirectory dir;
    const std::string folder = dir.File("theirs/");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    const std::string file = folder + "s.cfg";
    WriteTextFile(file, SettingsText(""));
    WriteTextFile(file + ".lock", "");
    ASSERT_EQ(chown((file + ".lock").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    const TSaveOutcome outcome = TSettings(context_, file).SaveReporting();
    EXPECT_FALSE(outcome.Saved);
    EXPECT_EQ(outcome.Reason, "QEN413: " + LockFileName(file));
    EXPECT_TRUE(notices_.empty());
}

}  // namespace
}  // namespace quenmark
