// Types into the interactive quenmark-console through a terminal and checks
// the lines that completion and the result recall made, as the history
// saves them.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/history_section.h"
#include "support/child_process.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// Reads what the terminal shows until it ends in a prompt on a line of its
// own and nothing more comes for a moment (the line ran and the editor waits
// again), or until the program ends. An echoed "> " line earlier in the
// output is not taken for the prompt, so no key is typed before the editor
// reads again.
void ReadUntilPrompt(int terminal) {
    std::string shown;
    char buffer[4096];
    pollfd waiting{terminal, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const auto atPrompt = [&shown] { return shown.size() >= 3 && shown.compare(shown.size() - 3, 3, "\n> ") == 0; };
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&waiting, 1, 100) <= 0) {
            if (atPrompt()) return;
            continue;
        }
        const ssize_t count = read(terminal, buffer, sizeof buffer);
        if (count <= 0) return;
        shown.append(buffer, static_cast<size_t>(count));
    }
}

TEST(ConsoleLineEditorTest, TabCompletesNamesAndAltPeriodRecallsResults) {
    const fs::path directory = fs::temp_directory_path() / ("quenmark-editor-" + std::to_string(getpid()));
    test::CopyProgramDirectory(directory);

    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("TERM", "xterm", 1);
        const std::string program = (directory / "quenmark-console").string();
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ReadUntilPrompt(terminal);
    for (const char* keys : {"amount = 12\r", "@hex\r", "255\r", "@DEC\r", "x = \x1b.\x1b.\r", "amo\t + 1\r",
                             "@he\t\r"}) {
        ASSERT_GT(write(terminal, keys, std::char_traits<char>::length(keys)), 0);
        ReadUntilPrompt(terminal);
    }
    ASSERT_GT(write(terminal, "\x04", 1), 0);
    int status = 0;
    EXPECT_TRUE(EndedInTime(child, status)) << "the console did not end at Ctrl-D";
    close(terminal);

    std::stringstream settings;
    for (const auto& entry : fs::directory_iterator(directory))
        if (entry.path().extension() == ".cfg") settings << std::ifstream(entry.path()).rdbuf();
    for (const char* line : {"x = 12", "amount + 1", "@HEX"})
        EXPECT_NE(settings.str().find(EncodeHistoryLine(line) + "\r\n"), std::string::npos) << line;
    fs::remove_all(directory);
}

}  // namespace
}  // namespace quenmark
