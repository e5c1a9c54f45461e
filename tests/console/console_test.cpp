// Runs the built quenmark-console from a private copy of the program
// directory, with piped input, and checks what it writes and saves.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "definitions/messages.h"
#include "support/cached_context.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("quenmark-console-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        test::CopyProgramDirectory(directory_);
        messages_ = std::make_unique<TCCMessages>(context_, "Quenmark.msg", directory_.string() + "/");
    }
    void TearDown() override { fs::remove_all(directory_); }

    // The output lines of one run fed with the input lines.
    std::vector<std::string> Run(const std::vector<std::string>& input) { return RunText(Join(input)); }

    // The output lines of one run fed with the bytes given.
    std::vector<std::string> RunText(const std::string& input) {
        const fs::path inputFile = directory_ / "input.txt";
        std::ofstream(inputFile, std::ios::binary) << input;
        const std::string command = "LANG=C LC_ALL=C '" + (directory_ / "quenmark-console").string() + "' < '" +
                                    inputFile.string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        std::vector<std::string> lines;
        char buffer[4096];
        std::string pending;
        while (fgets(buffer, sizeof buffer, pipe)) {
            pending += buffer;
            if (!pending.empty() && pending.back() == '\n') {
                pending.pop_back();
                lines.push_back(pending);
                pending.clear();
            }
        }
        const int status = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "exit status " << status;
        return lines;
    }

    static std::string Join(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        return text;
    }

    std::string Text(const char* code) const { return messages_->GetText(code); }
    std::string TextWith(const char* code, const std::string& argument) const {
        return messages_->GetTextWith(code, argument);
    }

    std::string SettingsText() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") return FileBytes(entry.path());
        return {};
    }

    fs::path directory_;
    // The expected texts, read the way the program reads them.
    const testing::CachedContext context_;
    std::unique_ptr<TCCMessages> messages_;
};

const std::string Banner = "Quenmark Version 1.1 (Interpreter Level 1A)";

TEST_F(ConsoleTest, FirstStartWelcomesThenNotAgain) {
    const std::vector<std::string> first = Run({"1+2"});
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], Banner);
    EXPECT_EQ(first[1], Text("QEN101").substr(0, first[1].size()));
    EXPECT_EQ(first[first.size() - 2], "> 1+2");
    EXPECT_EQ(first.back(), "3");

    EXPECT_EQ(Run({"1+2"}), (std::vector<std::string>{Banner, "> 1+2", "3"}));
}

TEST_F(ConsoleTest, ResultsErrorsAndModuleOutput) {
    Run({});
    const std::vector<std::string> expected = {
        Banner,
        "> 2 * (3 + 4)", "14",
        "> 1 / 0", Text("CVM005"),
        "> nosuch", TextWith("INT044", "nosuch"),
        "> PRINT(5)", "5", "5",
        "> SIN(PI / 2)", "1",
        "> 2**10", "1024",
        "> 7 mod 3", "1",
        "> LEN(\"abc\")", "3",
    };
    EXPECT_EQ(Run({"2 * (3 + 4)", "1 / 0", "nosuch", "PRINT(5)", "SIN(PI / 2)", "2**10", "7 mod 3", "LEN(\"abc\")"}),
              expected);
}

TEST_F(ConsoleTest, VariablesModeFormatAndHistorySurviveRestart) {
    Run({"price = 12.5", "name = \"Widget\"", "@PROTECT price", "@FORMAT \"0.00\"", "@HEX"});
    const std::vector<std::string> output = Run({"@DEC", "price * 2", "@VAR"});
    ASSERT_GE(output.size(), 7u);
    std::vector<std::string> listing(output.begin() + 6, output.end());
    EXPECT_EQ(output[3], "> price * 2");
    EXPECT_EQ(output[4], "25.00");
    EXPECT_NE(std::find(listing.begin(), listing.end(), "price = 12.5  (" + Text("INT161") + ")"), listing.end());
    EXPECT_NE(std::find(listing.begin(), listing.end(), "name = \"Widget\""), listing.end());

    const std::vector<std::string> hex = Run({"@HEX", "255"});
    EXPECT_EQ(hex.back(), "HEX : FF");
    EXPECT_EQ(Run({"255"}).back(), "HEX : FF");  // the mode came back from the settings

    const std::string settings = SettingsText();
    EXPECT_NE(settings.find("OutputMode=1"), std::string::npos);
    EXPECT_NE(settings.find("OutputFormat=0.00"), std::string::npos);
}

TEST_F(ConsoleTest, SettingsFileHasItsSectionsInOrder) {
    Run({"x = 1"});
    const std::string settings = SettingsText();
    size_t last = 0;
    for (const char* section : {"[Information]", "[Quen]", "[UniConv]", "[Others]", "[Variables]", "[History]"}) {
        const size_t at = settings.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, last) << section;
        last = at;
    }
    EXPECT_NE(settings.find("Purpose=Quenmark Version 1.1 User Settings File\r\n"), std::string::npos);
}

TEST_F(ConsoleTest, MaskWithQuotesIsRestoredWhole) {
    Run({"@FORMAT \"\"\"$\"\"0.00\""});
    EXPECT_EQ(Run({"3"}).back(), "$3.00");
}

// Starts the console on pipes, feeds it one line, waits for the answer and
// ends it with the signal; returns its exit status.
int RunUntilSignal(const fs::path& directory, const std::string& line, const std::string& answer, int signal) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        close(input[1]);
        close(output[0]);
        const std::string program = (directory / "quenmark-console").string();
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    const std::string text = line + "\n";
    if (write(input[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) return -1;
    std::string seen;
    char buffer[256];
    while (seen.find("\n" + answer + "\n") == std::string::npos) {
        const ssize_t count = read(output[0], buffer, sizeof buffer);
        if (count <= 0) break;
        seen.append(buffer, static_cast<size_t>(count));
    }
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    close(input[1]);
    close(output[0]);
    return status;
}

TEST_F(ConsoleTest, EndingSignalsSaveBeforeExit) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const std::string name = "kept" + std::to_string(signal);
        const int status = RunUntilSignal(directory_, name + " = 42", "42", signal);
        EXPECT_TRUE(WIFEXITED(status)) << "signal " << signal;
        EXPECT_NE(SettingsText().find("[Variables]"), std::string::npos);
        EXPECT_EQ(Run({name}).back(), "42") << "signal " << signal;
    }
}

TEST_F(ConsoleTest, LineBeyondTheMemoryLimitFailsAndTheRunIsSaved) {
    std::vector<std::string> input = {"kept = 5", "s = \"x\""};
    for (int i = 0; i < 40; ++i) input.push_back("LEN(s = s + s)");
    input.push_back("n = LEN(s)");
    input.push_back("s = 0");
    const std::vector<std::string> output = Run(input);
    const auto failures = std::count(output.begin(), output.end(), Text("INT071"));
    EXPECT_GT(failures, 0);
    EXPECT_EQ(output.back(), "0") << "the run goes on after the failing lines";
    // Saved at the end of the run: the next run reads the values back.
    const std::vector<std::string> next = Run({"kept", "n + 0 * s"});
    ASSERT_GE(next.size(), 3u);
    EXPECT_EQ(next[next.size() - 3], "5");
    EXPECT_EQ(next.back(), std::to_string(int64_t{1} << (40 - failures)));
}

TEST_F(ConsoleTest, ZeroByteInALineIsNamedInTheMessage) {
    const std::vector<std::string> output = Run({std::string("x\0y = 3", 7), "1+1"});
    // The echo of the line holds the zero byte itself, which ends the text
    // the reader here sees of it, so the message is looked for in the
    // output as a whole.
    std::string text;
    for (const std::string& line : output) text += line + "\n";
    EXPECT_NE(text.find(TextWith("INT030", "\\x00") + "\n> 1+1\n2\n"), std::string::npos) << text;
}

// Lines end at line feeds; blanks and control characters around them go,
// a carriage return before the line feed among them. A line longer than
// the blocks standard input is read in is one line, and a last line
// without a line feed is run too.
TEST_F(ConsoleTest, LinesAreSplitAtLineFeedsAcrossReadsAndTrimmed) {
    std::string longLine = "1";
    for (int i = 0; i < 50000; ++i) longLine += "+1";
    const std::vector<std::string> output = RunText("  1+1\r\n\r\n\tx = 2\r\n" + longLine + "\nx*3");
    const std::vector<std::string> expected = {"> 1+1", "2", "> ", "> x = 2", "2", "> " + longLine, "50001",
                                               "> x*3", "6"};
    ASSERT_GE(output.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(output.end() - static_cast<std::ptrdiff_t>(expected.size()), output.end()),
              expected);
}

}  // namespace
}  // namespace quenmark
