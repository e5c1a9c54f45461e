// The built quenmark-console as a scripting tool: exit statuses, the two
// output streams and the settings options.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hardening/console_process.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

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
        test::CopyProgramDirectory(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = {}) {
        ConsoleProcess console(directory_.string(), arguments, true);
        console.Write(input);
        const int status = console.Wait();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, console.Output(), console.ErrorOutput()};
    }

    // The usual settings file, beside the program; empty when there is none.
    std::string SettingsText() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") return FileBytes(entry.path());
        return {};
    }

    const fs::path directory_ = fs::temp_directory_path() / ("quenmark-scripting-" + std::to_string(getpid()));
};

TEST_F(ScriptingTest, StatusesAndStreams) {
    struct Row {
        std::vector<std::string> arguments;
        std::string input;
        int status;
        std::string out, errors;
    };
    const std::string hint = "; try 'quenmark-console --help'.\n";
    const Row rows[] = {
        {{"2 + 3 * 4", "SQRT(16)"}, "", 0, "14\n4\n", ""},
        {{"--", "-5+3"}, "", 0, "-2\n", ""},
        {{"1 / 0", "7"}, "", 1, "7\n", "quenmark-console: Division by zero.\n"},
        {{"-q"}, "1+1\nnosuch\n", 1, "2\n", "quenmark-console: Unknown name: nosuch.\n"},
        {{"-f", "-"}, "# note\n1\n\n1/0\n", 1, "1\n", "quenmark-console: standard input:4: Division by zero.\n"},
        {{"-f", "-"}, "x = 6\nx * 7\n", 0, "6\n42\n", ""},
        {{"-x"}, "", 2, "", "quenmark-console: unknown option '-x'" + hint},
        {{"--no-save", "-xyz"}, "", 2, "", "quenmark-console: unknown option '-x' in '-xyz'" + hint},
        {{"--no-save", "--xyz=1"}, "", 2, "", "quenmark-console: unknown option '--xyz'" + hint},
        {{"--no-save", "-qf"}, "", 2, "", "quenmark-console: option '-f' in '-qf' needs a file name" + hint},
        {{"--file"}, "", 2, "", "quenmark-console: option '--file' needs a file name" + hint},
        {{"-f", "none"}, "", 2, "", "quenmark-console: none: No such file or directory\n"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = Run(row.arguments, row.input);
        EXPECT_EQ(outcome.status, row.status) << row.arguments[0];
        EXPECT_EQ(outcome.out, row.out) << row.arguments[0];
        EXPECT_EQ(outcome.errors, row.errors) << row.arguments[0];
    }
    for (const char* option : {"--help", "--version"}) {
        const Outcome outcome = Run({option});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.out.find("quenmark-console"), std::string::npos) << option;
    }
}

TEST_F(ScriptingTest, NoSaveLeavesTheSettingsFileAndSettingsUsesAnother) {
    ASSERT_EQ(Run({"kept = 1"}).status, 0);
    const std::string before = SettingsText();
    for (const auto& entry : fs::directory_iterator(directory_))
        if (entry.path().extension() == ".lock") fs::remove(entry.path());
    EXPECT_EQ(Run({"--no-save", "lost = 2", "@HEX"}).status, 0);
    EXPECT_EQ(Run({"--no-save"}, "more = 3\n").status, 0);
    EXPECT_EQ(SettingsText(), before);
    for (const auto& entry : fs::directory_iterator(directory_))
        EXPECT_NE(entry.path().extension(), ".lock") << "a run that never saves leaves no lock file behind";

    const fs::path other = directory_ / "alt" / "other.cfg";
    fs::create_directories(other.parent_path());
    ASSERT_EQ(Run({"-s", other.string(), "elsewhere = 5"}).status, 0);
    EXPECT_EQ(SettingsText(), before);
    EXPECT_EQ(Run({"--settings=" + other.string(), "elsewhere", "kept"}).out, "5\n");
    EXPECT_EQ(Run({"kept", "elsewhere"}).out, "1\n");
}

TEST_F(ScriptingTest, ScriptsPassOverCommentLines) {
    const fs::path script = directory_ / "script.qm";
    std::ofstream(script) << "#!/usr/bin/env -S quenmark-console -f\n# the radius\nr = 2\n  \t# indented\nr * 3\n";
    struct Row {
        std::vector<std::string> arguments;
        std::string input;
        std::string out;
    };
    const Row rows[] = {
        {{"-f", script.string()}, "", "2\n6\n"},
        {{"-q"}, "#!/bin/sh\n# note\n1+1\n   # note\n", "2\n"},
        {{"-f", "-"}, "# note\n6*7\n", "42\n"},
    };
    for (const Row& row : rows) {
        const Outcome outcome = Run(row.arguments, row.input);
        EXPECT_EQ(outcome.out, row.out) << row.arguments[0];
        EXPECT_EQ(outcome.out.find('#'), std::string::npos) << row.arguments[0];
    }
    EXPECT_EQ(SettingsText().find("note"), std::string::npos) << "a comment is not kept in the history";
    // Without options, piped lines are the window's log, comments and all.
    const Outcome log = Run({}, "# note\n");
    EXPECT_NE(log.out.find("> # note\n"), std::string::npos);
}

// Standard output on a full device: the run still saves, then ends with
// status 1 and says why.
TEST_F(ScriptingTest, AFailedWriteEndsWithStatusOneAfterSaving) {
    const std::string full = "quenmark-console: standard output: No space left on device\n";
    const fs::path errors = directory_ / "errors.txt";
    const fs::path script = directory_ / "many.txt";
    {
        std::ofstream lines(script);
        for (int i = 0; i < 20000; ++i) lines << "last = " << i << "\n";
    }
    const struct {
        std::string arguments;
        std::string check;  // what the next run prints, when it is saved
    } rows[] = {
        {"-q 'kept = 5'", "5\n"},
        {"-f '" + script.string() + "'", ""},
        {"--help", ""},
        {"--version", ""},
    };
    for (const auto& row : rows) {
        const std::string command = "cd '" + directory_.string() + "' && ./quenmark-console " + row.arguments +
                                    " > /dev/full 2> '" + errors.string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << row.arguments;
        EXPECT_EQ(FileBytes(errors), full) << row.arguments;
    }
    EXPECT_EQ(Run({"kept"}).out, "5\n") << "the work of a run whose output failed is saved";
    EXPECT_NE(Run({"last"}).out, "") << "the lines of the script before the failed write are saved";
}

}  // namespace
}  // namespace quenmark
