// The built quenmark-console as a scripting tool: arguments, options, exit
// statuses and the two output streams.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hardening/console_process.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out, errors;
};

class ScriptingTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("quenmark-scripting-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::copy(QUENMARK_PROGRAM_DIR, directory_, fs::copy_options::recursive);
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") fs::remove(entry.path());
    }
    void TearDown() override { fs::remove_all(directory_); }

    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = {}) {
        ConsoleProcess console(directory_.string(), arguments, true);
        console.Write(input);
        Outcome outcome;
        const int status = console.Wait();
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.out = console.Output();
        outcome.errors = console.ErrorOutput();
        return outcome;
    }

    // The settings file beside the program, the one a run without -s uses.
    fs::path SettingsFile() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") return entry.path();
        return {};
    }

    static std::string Contents(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path directory_;
};

TEST_F(ScriptingTest, StatusesAndStreams) {
    struct Row {
        std::vector<std::string> arguments;
        std::string input;
        int status;
        std::string out, errors;
    };
    const Row rows[] = {
        {{"2 + 3 * 4", "SQRT(16)"}, "", 0, "14\n4\n", ""},
        {{"--", "-5+3"}, "", 0, "-2\n", ""},
        {{"1 / 0", "7"}, "", 1, "7\n", "Division by zero.\n"},
        {{"-q"}, "1+1\nnosuch\n", 1, "2\n", "Unknown name: nosuch.\n"},
        {{"-f", "-"}, "x = 6\nx * 7\n", 0, "6\n42\n", ""},
        {{"-x"}, "", 2, "", "quenmark-console: unknown option '-x'; try 'quenmark-console --help'.\n"},
        {{"--file"}, "", 2, "", "quenmark-console: option '--file' needs a file name; try 'quenmark-console --help'.\n"},
        {{"-f", "no-such-file"}, "", 2, "", "quenmark-console: no-such-file: No such file or directory\n"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = Run(row.arguments, row.input);
        EXPECT_EQ(outcome.status, row.status) << row.arguments[0];
        EXPECT_EQ(outcome.out, row.out) << row.arguments[0];
        EXPECT_EQ(outcome.errors, row.errors) << row.arguments[0];
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quenmark-console", 0), 0u);
    EXPECT_EQ(Run({"--version"}).out.rfind("quenmark-console (Quenmark) ", 0), 0u);
}

TEST_F(ScriptingTest, NoSaveLeavesTheSettingsFileAsItWas) {
    ASSERT_EQ(Run({"kept = 1"}).status, 0);
    const std::string before = Contents(SettingsFile());
    EXPECT_EQ(Run({"--no-save", "lost = 2", "@HEX"}).status, 0);
    EXPECT_EQ(Run({"--no-save"}, "more = 3\n").status, 0);
    EXPECT_EQ(Contents(SettingsFile()), before);
    EXPECT_EQ(Run({"kept"}).out, "1\n");
}

TEST_F(ScriptingTest, SettingsOptionUsesTheOtherFile) {
    const fs::path other = directory_ / "alt" / "other.cfg";
    fs::create_directories(other.parent_path());
    ASSERT_EQ(Run({"-s", other.string(), "elsewhere = 5"}).status, 0);
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(SettingsFile().empty());  // the usual file was not written
    EXPECT_EQ(Run({"--settings=" + other.string(), "elsewhere"}).out, "5\n");
    EXPECT_EQ(Run({"elsewhere"}).status, 1);
}

}  // namespace
}  // namespace quenmark
