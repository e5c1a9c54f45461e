// The built quenmark-console given input it cannot take as lines: a line
// too long, a directory, a device that fails or never ends, a settings file
// that holds something else, a line that fails to compile. Each time the
// work of the lines that ran must be kept and nothing else touched.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

constexpr const char* TooLong = "The line is longer than 16 MiB and was not calculated.\n";

struct Outcome {
    int status = -1;
    std::string out, errors;
};

class ScriptInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::CopyProgramDirectory(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    // Runs the console with standard input read from a file and the output
    // streams written to files; addressLimit bounds its address space.
    Outcome Run(const std::vector<std::string>& arguments, const fs::path& input = "/dev/null",
                rlim_t addressLimit = RLIM_INFINITY) {
        const std::string program = (directory_ / "quenmark-console").string();
        const std::string out = (directory_ / "out.txt").string(), errors = (directory_ / "errors.txt").string();
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
#ifndef QUENMARK_SANITIZED_BUILD
            // AddressSanitizer reserves terabytes of address space at start,
            // so the bound holds only in the plain build; the rest of the
            // behaviour is checked in both.
            const rlimit limit{addressLimit, addressLimit};
            setrlimit(RLIMIT_AS, &limit);
#else
            (void)addressLimit;
#endif
            dup2(open(input.c_str(), O_RDONLY), STDIN_FILENO);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
            dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            setenv("LANG", "C", 1);
            setenv("LC_ALL", "C", 1);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        EXPECT_TRUE(EndedInTime(pid, status)) << testing::PrintToString(arguments);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileBytes(out), FileBytes(errors)};
    }

    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(directory_ / name, std::ios::binary) << text;
        return directory_ / name;
    }

    std::string SettingsText() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") return FileBytes(entry.path());
        return {};
    }

    // The files of the directory whose names hold text.
    size_t FilesNamed(const std::string& text) const {
        size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(directory_))
            if (entry.path().filename().string().find(text) != std::string::npos) ++count;
        return count;
    }

    const fs::path directory_ = fs::temp_directory_path() / ("quenmark-script-input-" + std::to_string(getpid()));
};

TEST_F(ScriptInputTest, AnOverlongLineFailsAloneAndTheLinesAroundItRunAndAreSaved) {
    const std::string text = "a = 1\n" + std::string(17 << 20, '1') + "\r\nb = 2\n" + std::string(17 << 20, '2');
    const fs::path file = Write("long.txt", text);
    const struct {
        std::vector<std::string> Arguments;
        fs::path Input;
        std::string Place;  // how an error names the line
    } rows[] = {{{"-f", file.string(), "a + b"}, "/dev/null", file.string() + ":%: "},
                {{"-q"}, file, ""},
                {{"-f", "-", "a + b"}, file, "standard input:%: "}};
    for (const auto& row : rows) {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") fs::remove(entry.path());
        const Outcome outcome = Run(row.Arguments, row.Input, rlim_t{512} << 20);
        EXPECT_EQ(outcome.status, 1) << row.Arguments[0];
        const auto named = [&row](const char* number) {
            std::string place = row.Place;
            if (!place.empty()) place.replace(place.find('%'), 1, number);
            return "quenmark-console: " + place + TooLong;
        };
        EXPECT_EQ(outcome.errors, named("2") + named("4")) << row.Arguments[0];
        EXPECT_EQ(outcome.out, row.Arguments.size() == 3 ? "1\n2\n3\n" : "1\n2\n") << row.Arguments[0];
        const std::string settings = SettingsText();
        EXPECT_NE(settings.find("[History]"), std::string::npos);
        EXPECT_LT(settings.size(), 4096u) << "an overlong line reached the settings file";
    }
    EXPECT_EQ(Run({"a * 10 + b"}).out, "12\n");
}

TEST_F(ScriptInputTest, EndlessInputWithoutALineEndStopsQuicklyInBoundedMemory) {
    const Outcome outcome = Run({"-f", "/dev/zero"}, "/dev/null", rlim_t{512} << 20);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.errors, "quenmark-console: /dev/zero:1: " + std::string(TooLong) +
                                  "quenmark-console: /dev/zero: No line end within 256 MiB: the rest of the "
                                  "input was not read.\n");
}

TEST_F(ScriptInputTest, InputThatIsNoFileEndsWithStatusTwo) {
    const fs::path good = Write("good.txt", "a = 1\nb = 2\n");
    const fs::path folder = directory_ / "folder";
    fs::create_directory(folder);
    const struct {
        std::vector<std::string> Arguments;
        fs::path Input;
        std::string Errors;
        bool Saved;  // the lines before the failure ran and were saved
    } rows[] = {
        // Known before anything runs: nothing is touched.
        {{"-f", good.string(), "-f", folder.string()}, "/dev/null", folder.string() + ": Is a directory", false},
        {{}, folder, "standard input: Is a directory", false},
        {{"-q"}, folder, "standard input: Is a directory", false},
        {{"-f", good.string(), "-f", "-"}, folder, "standard input: Is a directory", false},
        // Known only at the first read.
        {{"-f", good.string(), "-f", "/proc/self/mem", "c = 3"}, "/dev/null", "/proc/self/mem: Input/output error",
         true},
    };
    for (const auto& row : rows) {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") fs::remove(entry.path());
        const Outcome outcome = Run(row.Arguments, row.Input);
        EXPECT_EQ(outcome.status, 2) << row.Errors;
        EXPECT_EQ(outcome.errors, "quenmark-console: " + row.Errors + "\n");
        EXPECT_EQ(!SettingsText().empty(), row.Saved) << row.Errors;
        if (row.Saved) {
            EXPECT_EQ(Run({"a + b"}).out, "3\n");
            EXPECT_EQ(Run({"c"}).errors, "quenmark-console: Unknown name: c.\n") << "a line after the failure ran";
        }
    }
}

TEST_F(ScriptInputTest, AFailedAssignmentSavesNoVariable) {
    EXPECT_EQ(Run({"-q", "zz=)"}).status, 1);
    EXPECT_EQ(Run({"x = 1"}).status, 0);
    EXPECT_EQ(Run({"x = )"}).status, 1);
    const Outcome outcome = Run({"zz", "x"});
    EXPECT_EQ(outcome.errors, "quenmark-console: Unknown name: zz.\n");
    EXPECT_EQ(outcome.out, "1\n");
}

TEST_F(ScriptInputTest, SettingsOptionNeverSetsAsideAFileThatHoldsSomethingElse) {
    const std::string script = "x = 1\n";
    const struct {
        std::string Name;
        std::string Contents;  // empty: a directory of that name
        int Status;
        std::string Errors;
    } rows[] = {
        {"script.txt", script, 2, ": not a settings file; it was left as it is\n"},
        {"binary.dat", std::string("\0\1\2", 3), 2, ": not a settings file; it was left as it is\n"},
        {"folder", "", 2, ": Is a directory\n"},
    };
    for (const auto& row : rows) {
        const fs::path path = directory_ / row.Name;
        if (row.Contents.empty()) fs::create_directory(path);
        else Write(row.Name, row.Contents);
        const Outcome outcome = Run({"-s", path.string(), "y = 2"});
        EXPECT_EQ(outcome.status, row.Status) << row.Name;
        EXPECT_EQ(outcome.errors, "quenmark-console: " + path.string() + row.Errors);
        EXPECT_EQ(outcome.out, "");
        if (!row.Contents.empty()) {
            EXPECT_EQ(FileBytes(path), row.Contents) << row.Name;
        }
    }
    EXPECT_EQ(FilesNamed(".damaged"), 0u);
    EXPECT_TRUE(SettingsText().empty()) << "the usual settings file was written";

    // An empty file, or one that does not exist yet, becomes the settings file.
    const fs::path empty = Write("empty.cfg", "");
    EXPECT_EQ(Run({"-s", empty.string(), "y = 2"}).status, 0);
    EXPECT_EQ(Run({"-s", empty.string(), "y"}).out, "2\n");
    EXPECT_EQ(FilesNamed(".damaged"), 0u);
}

}  // namespace
}  // namespace quenmark
