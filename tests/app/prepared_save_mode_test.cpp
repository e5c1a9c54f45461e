// The permission bits of the file the prepared save writes when the run
// ends by a signal: never wider than the settings file while it is written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/line_session.h"
#include "app/prepared_save.h"
#include "app/settings.h"
#include "support/echo_messages.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class PreparedSaveModeTest : public ::testing::Test {
protected:
    PreparedSaveModeTest()
        : path_(fs::temp_directory_path() / ("quenmark-prepared-mode-" + std::to_string(getpid()) + ".cfg")) {
        fs::remove(path_);
        fs::remove(Temporary());
    }
    ~PreparedSaveModeTest() override {
        fs::remove(path_);
        fs::remove(Temporary());
    }

    fs::path Temporary() const { return path_.string() + ".prepared"; }

    // Runs one line and writes the prepared save as the end by a signal does.
    bool WriteAfterOneLine() {
        TSettings settings(context_, path_.string());
        settings.Load();
        TCCInterpreter interpreter(context_);
        TLineSession session(interpreter, settings);
        TPreparedSave prepared(settings, interpreter.Variables(), session.InputHistory());
        session.ExecuteLine("secret = 42");
        prepared.Refresh();
        return prepared.WriteNow();
    }

    fs::path path_;
    testing::EchoContext context_;
};

// A new file is private whatever the umask; an existing one keeps its bits.
TEST_F(PreparedSaveModeTest, ANewFileIsPrivateAndAnOldOneKeepsItsMode) {
    const mode_t oldMask = umask(0);
    const struct {
        const char* Behaviour;
        bool Exists;
        mode_t Before;
        mode_t After;
    } rows[] = {
        {"new file", false, 0, 0600},
        {"group-readable file", true, 0640, 0640},
        {"world-readable file", true, 0644, 0644},
    };
    for (const auto& row : rows) {
        fs::remove(path_);
        if (row.Exists) {
            std::ofstream(path_, std::ios::binary) << "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n";
            chmod(path_.c_str(), row.Before);
        }
        EXPECT_TRUE(WriteAfterOneLine()) << row.Behaviour;
        EXPECT_EQ(ModeOf(path_), row.After) << row.Behaviour;
    }
    umask(oldMask);
}

// A readable temporary file left behind, held open by someone, is not
// written into: the save starts a private file of its own.
TEST_F(PreparedSaveModeTest, AnOpenTemporaryFileLeftBehindGetsNothing) {
    std::ofstream(Temporary(), std::ios::binary) << "left";
    chmod(Temporary().c_str(), 0644);
    const int reader = open(Temporary().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(WriteAfterOneLine());
    char buffer[64];
    const ssize_t count = pread(reader, buffer, sizeof buffer, 0);
    close(reader);
    EXPECT_EQ(std::string(buffer, count > 0 ? static_cast<size_t>(count) : 0), "left");
    EXPECT_NE(FileBytes(path_).find("[Variables]"), std::string::npos);
}

// A settings file reached through the user's own link: the link stays a
// link and its target receives the state, as after a save at the end.
TEST_F(PreparedSaveModeTest, ALinkToTheFileStaysALink) {
    const fs::path target = path_.string() + ".target";
    std::ofstream(target, std::ios::binary) << "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n";
    fs::create_symlink(target, path_);
    ASSERT_TRUE(WriteAfterOneLine());
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_NE(FileBytes(target).find("[Variables]"), std::string::npos);
    fs::remove(target);
    fs::remove(target.string() + ".prepared");
}

}  // namespace
}  // namespace quenmark
