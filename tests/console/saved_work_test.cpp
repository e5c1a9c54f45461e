// Runs the built quenmark-console from a private copy of the program
// directory against settings files that were damaged, cannot be written or
// are not files at all, and checks that the user's work is kept or the
// failure reported.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int Status = -1;
    std::string Output;
    std::string Errors;
};

class SavedWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("quenmark-saved-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        test::CopyProgramDirectory(directory_ / "program");
        fs::create_directories(directory_ / "home");
        settings_ = directory_ / "program" / ("~" + UserName() + ".cfg");
    }
    void TearDown() override { fs::remove_all(directory_); }

    static std::string UserName() {
        const std::string name = ReadCommand("id -un");
        return name.substr(0, name.find('\n'));
    }
    static std::string ReadCommand(const std::string& command) {
        FILE* pipe = popen(command.c_str(), "r");
        std::string text;
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
        pclose(pipe);
        return text;
    }

    // One run over the input lines; prefix runs in the shell first (limits,
    // environment), within a time limit so that a hang fails the test.
    RunResult Run(const std::string& input, const std::string& prefix = "", const std::string& environment = "",
                  const std::string& arguments = "") {
        std::ofstream(directory_ / "input.txt") << input;
        const std::string command = prefix + " " + ConsoleCommand(environment) + " " + arguments + " < '" +
                                    (directory_ / "input.txt").string() + "' > '" + (directory_ / "out").string() +
                                    "' 2> '" + (directory_ / "err").string() + "'";
        RunResult result;
        result.Status = std::system(("(" + command + ")").c_str());
        result.Output = FileBytes(directory_ / "out");
        result.Errors = FileBytes(directory_ / "err");
        return result;
    }

    // The console with the test's home and the C locale, within a time
    // limit so that a hang fails the test.
    std::string ConsoleCommand(const std::string& environment = "") const {
        return "HOME='" + (directory_ / "home").string() + "' XDG_CONFIG_HOME= LANG=C LC_ALL=C " + environment +
               " timeout 20 '" + (directory_ / "program" / "quenmark-console").string() + "'";
    }

    static int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

    fs::path directory_;
    fs::path settings_;
};

TEST_F(SavedWorkTest, ADamagedFileIsMovedAsideAndTheUserTold) {
    const std::string damaged = "[Information]\r\nPurpose=Quenmark Version 1.2 User Settings File\r\n[Variables]\r\n"
                                ";01000000780300000001000005000000\r\n";
    std::ofstream(settings_, std::ios::binary) << damaged;
    const RunResult run = Run("y = 1\n");
    EXPECT_EQ(ExitCode(run.Status), 0) << run.Errors;
    fs::path aside;
    for (const auto& entry : fs::directory_iterator(settings_.parent_path()))
        if (entry.path().filename().string().starts_with(settings_.filename().string() + ".damaged-")) aside = entry.path();
    ASSERT_FALSE(aside.empty()) << "the damaged file was not kept";
    EXPECT_EQ(FileBytes(aside), damaged);
    EXPECT_NE(run.Output.find(aside.string()), std::string::npos) << "the user is told where it went:\n" << run.Output;
    EXPECT_NE(FileBytes(settings_).find("Purpose=Quenmark Version 1.1 User Settings File"), std::string::npos);
}

TEST_F(SavedWorkTest, AFileWithAByteOrderMarkKeepsItsVariables) {
    Run("x = 5\n");
    const std::string saved = FileBytes(settings_);
    std::ofstream(settings_, std::ios::binary | std::ios::trunc) << "\xEF\xBB\xBF" + saved;
    Run("y = 6\n");
    const RunResult run = Run("x + y\n");
    EXPECT_NE(run.Output.find("\n11\n"), std::string::npos) << run.Output;
}

// A save that fails ends the run with status 1 and one line on standard
// error naming the file; on the full disk the output file fills up too,
// which is a second line.
TEST_F(SavedWorkTest, AFailedSaveIsReported) {
    const std::string file = settings_.string();
    const struct {
        const char* Behaviour;
        std::string Setup;   // shell commands run before
        std::string Prefix;       // in the console's shell
        std::string Environment;  // for the console
        std::string Named;        // the file the message names
        long Lines = 1;           // on standard error
    } rows[] = {
        {"a directory in the file's place", "mkdir '" + file + "'", "", "", file},
        {"a read-only file",
         "printf '[Information]\\r\\nPurpose=Quenmark Version 1.1 User Settings File\\r\\n' > '" + file +
             "'; chmod 0444 '" + file + "'",
         "", "", file},
        {"a full disk", "", "trap '' XFSZ; ulimit -f 1;", "", file, 2},
        {"an unusable home directory",
         "touch '" + (directory_ / "program" / "installed-copy").string() + "'",
         "", "HOME=/dev/null", "/dev/null/.config/quenmark/"},
    };
    for (const auto& row : rows) {
        fs::remove_all(file);
        fs::remove(directory_ / "program" / "installed-copy");
        if (!row.Setup.empty()) {
            ASSERT_EQ(std::system(row.Setup.c_str()), 0) << row.Behaviour;
        }
        // A long value makes the file larger than the limit of the full disk.
        const RunResult run = Run("s = \"" + std::string(3000, 'x') + "\"\n", row.Prefix, row.Environment);
        EXPECT_EQ(ExitCode(run.Status), 1) << row.Behaviour << "\n" << run.Errors;
        EXPECT_NE(run.Errors.find(row.Named), std::string::npos) << row.Behaviour << "\n" << run.Errors;
        EXPECT_EQ(std::count(run.Errors.begin(), run.Errors.end(), '\n'), row.Lines) << row.Behaviour << "\n" << run.Errors;
    }
}

TEST_F(SavedWorkTest, AFifoInPlaceOfAFileDoesNotHangTheStart) {
    ASSERT_EQ(mkfifo(settings_.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((directory_ / "program" / "Quenmark.msg.fifo").c_str(), 0600), 0);
    fs::remove(directory_ / "program" / "Quenmark.msg");
    fs::rename(directory_ / "program" / "Quenmark.msg.fifo", directory_ / "program" / "Quenmark.msg");
    const RunResult run = Run("1 + 1\n");
    EXPECT_NE(run.Output.find("\n2\n"), std::string::npos) << run.Output;
    EXPECT_EQ(ExitCode(run.Status), 1) << "the save cannot replace the FIFO and says so\n" << run.Errors;
}

// An installed copy keeps settings in the folder that $XDG_CONFIG_HOME or
// $HOME names, and carries over what the file beside it held.
TEST_F(SavedWorkTest, AnInstalledCopyFollowsHomeAndCarriesTheOldFile) {
    Run("old = 7\n");
    ASSERT_TRUE(fs::exists(settings_));
    std::ofstream(directory_ / "program" / "installed-copy") << "\n";
    const RunResult first = Run("new = 8\n");
    EXPECT_EQ(ExitCode(first.Status), 0) << first.Errors;
    const fs::path own = directory_ / "home" / ".config" / "quenmark" / settings_.filename();
    ASSERT_TRUE(fs::exists(own)) << "the settings did not follow $HOME";
    const RunResult run = Run("old + new\n");
    EXPECT_NE(run.Output.find("\n15\n"), std::string::npos) << run.Output;
}

// Copies that reach the file through a symbolic link and copies that name
// it directly, all at once, each add a variable of their own; the merges
// under one shared lock keep every one of them.
TEST_F(SavedWorkTest, CopiesThroughALinkAndTheRealPathLoseNoVariables) {
    constexpr int CopiesPerPath = 12;
    const fs::path real = directory_ / "real.cfg";
    const fs::path link = directory_ / "link.cfg";
    ASSERT_EQ(ExitCode(Run("start = 1\n", "", "", "-s '" + real.string() + "'").Status), 0);
    fs::create_symlink(real, link);
    std::string together;
    std::string check;
    std::string expected;
    for (int copy = 0; copy < CopiesPerPath; ++copy) {
        for (const auto& [name, path] : {std::pair{"viaLink", link}, std::pair{"viaPath", real}}) {
            const std::string variable = name + std::to_string(copy);
            together += "(echo '" + variable + " = " + std::to_string(copy) + "' | " + ConsoleCommand() + " -q -s '" +
                        path.string() + "' > /dev/null 2>> '" + (directory_ / "err").string() + "') & ";
            check += variable + "\n";
            expected += std::to_string(copy) + "\n";
        }
    }
    ASSERT_EQ(std::system(("(" + together + "wait)").c_str()), 0);
    // On a loaded machine a copy may wait long enough to say so; only
    // other lines are failures.
    std::istringstream errors(FileBytes(directory_ / "err"));
    std::string failures;
    for (std::string line; std::getline(errors, line);)
        if (line.find("which another process has locked") == std::string::npos) failures += line + "\n";
    EXPECT_EQ(failures, "") << "a copy failed";
    const RunResult run = Run(check, "", "", "-q -s '" + real.string() + "'");
    EXPECT_EQ(run.Output, expected) << run.Errors;
}

// A file-size limit (ulimit -f) too small for the save: the console reports
// it and ends with status 1 instead of being killed, leaves no temporary
// file, and the previous file stays whole.
TEST_F(SavedWorkTest, AFileSizeLimitFailsTheSaveWithoutHarm) {
    ASSERT_EQ(ExitCode(Run("kept = 1\n").Status), 0);
    const std::string before = FileBytes(settings_);
    // Many variables make a large file out of little output.
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "v" + std::to_string(i) + " = 1\n";
    const RunResult run = Run(lines, "ulimit -f 10;", "", "-q");
    ASSERT_LT(run.Output.size(), 10000u) << "the output itself must fit in the limit";
    EXPECT_EQ(ExitCode(run.Status), 1) << run.Errors;
    EXPECT_NE(run.Errors.find(settings_.filename().string()), std::string::npos) << run.Errors;
    EXPECT_EQ(FileBytes(settings_), before);
    for (const auto& entry : fs::directory_iterator(settings_.parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

// A lock that another process keeps for a while at the start is waited for,
// and the console says what it waits for.
TEST_F(SavedWorkTest, TheConsoleSaysWhatItWaitsFor) {
    ASSERT_EQ(ExitCode(Run("kept = 1\n").Status), 0);
    const fs::path lock = fs::canonical(settings_).string() + ".lock";
    const fs::path ready = directory_ / "ready";
    const std::string holder = "flock '" + lock.string() + "' -c 'touch \"" + ready.string() + "\"; sleep 2' & " +
                               "while [ ! -e '" + ready.string() + "' ]; do sleep 0.05; done;";
    const RunResult run = Run("kept + 1\n", holder);
    EXPECT_EQ(ExitCode(run.Status), 0) << run.Errors;
    EXPECT_NE(run.Output.find("\n2\n"), std::string::npos) << run.Output;
    EXPECT_TRUE(run.Errors.starts_with("quenmark-console: waiting for ")) << run.Errors;
    EXPECT_NE(run.Errors.find(settings_.filename().string() + ", which another process has locked\n"),
              std::string::npos)
        << run.Errors;
    EXPECT_EQ(std::count(run.Errors.begin(), run.Errors.end(), '\n'), 1) << run.Errors;
}

}  // namespace
}  // namespace quenmark
