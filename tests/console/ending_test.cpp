// Ends the built quenmark-console in the ways a run can end before its
// input does: its reader goes away, a signal arrives while a module
// function never returns, a module function crashes. Each time the work of
// the completed lines must be in the settings file afterwards.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/settings_file.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The console on three pipes, started from a program directory.
class Console {
public:
    explicit Console(const fs::path& directory) {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
        const std::string program = (directory / "quenmark-console").string();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            setenv("LANG", "C", 1);
            setenv("LC_ALL", "C", 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        input_ = in[1];
        output_ = out[0];
        errors_ = err[0];
    }
    ~Console() {
        CloseOutput();
        if (input_ >= 0) close(input_);
        if (errors_ >= 0) close(errors_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void Write(const std::string& text) { ASSERT_EQ(write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
    // Reads the output until it holds text; false after the timeout.
    bool ReadUntil(const std::string& text) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        char buffer[65536];
        while (seen_.find(text) == std::string::npos) {
            if (Clock::now() > deadline) return false;
            pollfd ready{output_, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            const ssize_t count = read(output_, buffer, sizeof buffer);
            if (count <= 0) return false;
            seen_.append(buffer, static_cast<size_t>(count));
        }
        return true;
    }
    void CloseOutput() {
        if (output_ >= 0) close(output_);
        output_ = -1;
    }
    void Kill(int signal) { kill(pid_, signal); }
    // The wait status, or -1 when the process has not ended within limit.
    int WaitFor(std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = -1;
        return status;
    }
    std::string Errors() {
        std::string text;
        char buffer[4096];
        for (ssize_t count; (count = read(errors_, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(count));
        return text;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    int errors_ = -1;
    std::string seen_;
};

class EndingTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("quenmark-ending-" + std::to_string(getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        test::CopyProgramDirectory(directory_);
        fs::copy_file(QUENMARK_MISBEHAVING_MODULE, directory_ / "misbehaving.vmx");
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string SettingsText() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") return FileBytes(entry.path());
        return {};
    }
    // The saved variable lines.
    size_t SavedVariableCount() const {
        const std::string text = SettingsText();
        const size_t begin = text.find("[Variables]\r\n");
        if (begin == std::string::npos) return 0;
        const size_t end = text.find("\r\n[", begin + 1);
        size_t count = 0;
        for (size_t at = text.find("\r\n;", begin); at < end; at = text.find("\r\n;", at + 1)) ++count;
        return count;
    }
    void RemoveSettings() const {
        for (const auto& entry : fs::directory_iterator(directory_))
            if (entry.path().extension() == ".cfg") fs::remove(entry.path());
    }

    // Runs a line that keeps a variable, then the line that never ends well.
    void KeepThenRun(Console& console, const std::string& failing) {
        console.Write("kept = 42\n");
        ASSERT_TRUE(console.ReadUntil("> kept = 42\n42\n"));
        console.Write(failing + "\n");
    }

    fs::path directory_;
};

int ExitCode(int status) { return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// The reader has gone: the run saves and ends with status 1, as the output
// was not all written, but says nothing about it.
TEST_F(EndingTest, AClosedOutputPipeEndsTheRunSavedWithStatusOneAndNoMessage) {
    Console console(directory_);
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += "v" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    console.Write(lines + "(\"done\")\n");
    ASSERT_TRUE(console.ReadUntil("\"done\"\n"));
    console.CloseOutput();
    // The answer cannot be written; the input stays open, so only the
    // failed write can end the run.
    console.Write("1 + 1\n");
    const int status = console.WaitFor(std::chrono::seconds(10));
    EXPECT_EQ(ExitCode(status), 1) << "wait status " << status;
    EXPECT_EQ(SavedVariableCount(), 2000u);
    EXPECT_EQ(console.Errors().find("standard output"), std::string::npos) << console.Errors();
}

TEST_F(EndingTest, EndingSignalWhileAModuleHangsSavesTheCompletedLines) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        RemoveSettings();
        Console console(directory_);
        KeepThenRun(console, "x" + std::to_string(signal) + " = HangForever()");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto start = Clock::now();
        console.Kill(signal);
        const int status = console.WaitFor(std::chrono::seconds(5));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << "signal " << signal;
        EXPECT_EQ(ExitCode(status), 128 + signal) << "signal " << signal;
        EXPECT_EQ(SavedVariableCount(), 1u) << "signal " << signal;
        EXPECT_NE(SettingsText().find("[History]"), std::string::npos);
    }
}

TEST_F(EndingTest, ACrashInAModuleNamesItAndSavesTheCompletedLines) {
#ifdef QUENMARK_SANITIZED_BUILD
    GTEST_SKIP() << "the sanitizers take over the fatal signals and the module's stack; the crash "
                    "handling is checked in the plain build";
#endif
    const struct {
        const char* Function;
        int Signal;
    } rows[] = {{"CrashNow", SIGSEGV}, {"AbortNow", SIGABRT}, {"OverflowStack", SIGSEGV}};
    for (const auto& row : rows) {
        RemoveSettings();
        Console console(directory_);
        KeepThenRun(console, std::string(row.Function) + "()");
        const int status = console.WaitFor(std::chrono::seconds(10));
        EXPECT_EQ(ExitCode(status), 128 + row.Signal) << row.Function << ", wait status " << status;
        const std::string errors = console.Errors();
        EXPECT_NE(errors.find("misbehaving.vmx"), std::string::npos) << errors;
        EXPECT_NE(errors.find(row.Function), std::string::npos) << errors;
        EXPECT_EQ(SavedVariableCount(), 1u) << row.Function;
    }
}

// The settings file cannot be replaced (a directory stands in its place):
// an ending signal, between lines or while a module hangs, leaves the state
// in a rescue file that standard error names.
TEST_F(EndingTest, ASaveThatFailsAtAnEndingSignalGoesToARescueFile) {
    const fs::path state = directory_ / "state";
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    for (const bool hanging : {false, true}) {
        fs::remove_all(state);
        const fs::path settings = directory_ / SettingsFileBaseName(GetLoginUserName());
        fs::remove_all(settings);
        fs::create_directory(settings);
        Console console(directory_);
        console.Write("kept = 42\n");
        ASSERT_TRUE(console.ReadUntil("42\n"));
        if (hanging) console.Write("lost = HangForever()\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        console.Kill(SIGTERM);
        const int status = console.WaitFor(std::chrono::seconds(10));
        EXPECT_EQ(ExitCode(status), 128 + SIGTERM) << "hanging " << hanging;
        std::vector<fs::path> rescued;
        if (fs::exists(state / "quenmark"))
            for (const auto& entry : fs::directory_iterator(state / "quenmark")) rescued.push_back(entry.path());
        ASSERT_EQ(rescued.size(), 1u) << "hanging " << hanging;
        EXPECT_NE(console.Errors().find(rescued[0].string()), std::string::npos) << "hanging " << hanging;
        const std::string text = FileBytes(rescued[0]);
        EXPECT_NE(text.find("[Variables]\r\n;04000000"), std::string::npos) << text;  // "kept"
    }
    unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace quenmark
