// The built quenmark-console on a pseudo-terminal, as at the keyboard.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// Reads what the terminal shows into seen until it holds text; false when
// ten seconds pass first.
bool ReadUntil(int terminal, std::string& seen, const std::string& text) {
    char buffer[4096];
    for (int waits = 0; seen.find(text) == std::string::npos; ++waits) {
        pollfd ready{terminal, POLLIN, 0};
        if (waits == 100) return false;
        if (poll(&ready, 1, 100) <= 0) continue;
        const ssize_t count = read(terminal, buffer, sizeof buffer);
        if (count <= 0) return false;
        seen.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

// Reads on until nothing more comes for a moment, so that the editor has
// set up the terminal for the next line before keys are typed.
void ReadUntilQuiet(int terminal, std::string& seen) {
    char buffer[4096];
    pollfd ready{terminal, POLLIN, 0};
    for (int waits = 0; waits < 100 && poll(&ready, 1, 100) > 0; ++waits) {
        const ssize_t count = read(terminal, buffer, sizeof buffer);
        if (count <= 0) return;
        seen.append(buffer, static_cast<size_t>(count));
    }
}

// Starts the console of a program directory on a new pseudo-terminal, in
// the C locale, with the options and the environment given; the terminal's
// descriptor goes to terminal.
pid_t StartOnTerminal(const fs::path& directory, int& terminal, const std::vector<std::string>& options = {},
                      const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    const std::string program = (directory / "quenmark-console").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& option : options) argv.push_back(const_cast<char*>(option.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        setenv("LC_ALL", "C", 1);
        setenv("TERM", "xterm", 1);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

TEST(InteractiveTest, CtrlCClearsTheLineAndCtrlDEnds) {
    const fs::path directory = fs::temp_directory_path() / ("quenmark-interactive-" + std::to_string(getpid()));
    test::CopyProgramDirectory(directory);
    int terminal = -1;
    const pid_t pid = StartOnTerminal(directory, terminal);
    ASSERT_GT(pid, 0);
    std::string seen;
    auto type = [terminal](const std::string& keys) { return write(terminal, keys.data(), keys.size()) > 0; };
    EXPECT_TRUE(ReadUntil(terminal, seen, "> ") && type("12+3") && ReadUntil(terminal, seen, "12+3"));
    ReadUntilQuiet(terminal, seen);
    EXPECT_TRUE(type("\x03") && ReadUntil(terminal, seen, "^C\r\n> ")) << seen;
    ReadUntilQuiet(terminal, seen);
    EXPECT_TRUE(type("1+1\r") && ReadUntil(terminal, seen, "\r\n2\r\n> ")) << seen;
    ReadUntilQuiet(terminal, seen);
    EXPECT_EQ(seen.find("15"), std::string::npos) << "the abandoned line ran";
    type("\x04");
    if (HasFailure()) kill(pid, SIGKILL);
    int status = 0;
    EXPECT_TRUE(EndedInTime(pid, status)) << "the console did not end at Ctrl-D";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    close(terminal);
    fs::remove_all(directory);
}

// The second of two Ctrl-C while a module function never returns ends the
// program; the first says so, and the run goes on until then.
TEST(InteractiveTest, FirstCtrlCDuringAHangingCallWarnsAndTheSecondEnds) {
    const fs::path directory = fs::temp_directory_path() / ("quenmark-interactive-hang-" + std::to_string(getpid()));
    test::CopyProgramDirectory(directory);
    fs::copy_file(QUENMARK_MISBEHAVING_MODULE, directory / "misbehaving.vmx");
    int terminal = -1;
    const pid_t pid = StartOnTerminal(directory, terminal);
    ASSERT_GT(pid, 0);
    std::string seen;
    auto type = [terminal](const std::string& keys) { return write(terminal, keys.data(), keys.size()) > 0; };
    EXPECT_TRUE(ReadUntil(terminal, seen, "> ") && type("kept = 42\r") && ReadUntil(terminal, seen, "\r\n42\r\n> "));
    ReadUntilQuiet(terminal, seen);
    EXPECT_TRUE(type("HangForever()\r") && ReadUntil(terminal, seen, "HangForever()\r\n")) << seen;
    ReadUntilQuiet(terminal, seen);
    EXPECT_TRUE(type("\x03") && ReadUntil(terminal, seen, "Press Ctrl+C again to end Quenmark.")) << seen;
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the first Ctrl-C ended the program";
    type("\x03");
    if (HasFailure()) kill(pid, SIGKILL);
    EXPECT_TRUE(EndedInTime(pid, status)) << "the second Ctrl-C did not end the program";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGINT) << "status " << status;
    std::string settings;
    for (const auto& entry : fs::directory_iterator(directory))
        if (entry.path().extension() == ".cfg") settings = entry.path().string();
    EXPECT_FALSE(settings.empty()) << "the completed line was not saved";
    close(terminal);
    fs::remove_all(directory);
}


// A program folder other users can write gives no code to load: the line
// editor's library there is refused, and the plain prompt still calculates.
TEST(InteractiveTest, AFolderOthersCanWriteGivesNoLineEditor) {
    const fs::path directory = fs::temp_directory_path() / ("quenmark-open-folder-" + std::to_string(getpid()));
    test::CopyProgramDirectory(directory);
    fs::permissions(directory, fs::perms::all);
    int terminal = -1;
    const pid_t pid =
        StartOnTerminal(directory, terminal, {"--no-save"}, {{"XDG_CONFIG_HOME", (directory / "config").string()}});
    ASSERT_GT(pid, 0);
    std::string seen;
    auto type = [terminal](const std::string& keys) { return write(terminal, keys.data(), keys.size()) > 0; };
    EXPECT_TRUE(ReadUntil(terminal, seen, "> ")) << seen;
    EXPECT_NE(seen.find("line editing is not available"), std::string::npos) << seen;
    EXPECT_TRUE(type("6*7\n") && ReadUntil(terminal, seen, "42")) << seen;
    type("\x04");
    int status = 0;
    if (!EndedInTime(pid, status)) kill(pid, SIGKILL);
    close(terminal);
    fs::remove_all(directory);
}

}  // namespace
}  // namespace quenmark
