// The built quenmark-console on a pseudo-terminal, as a user at the
// keyboard meets it.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace quenmark {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class InteractiveConsole {
public:
    explicit InteractiveConsole(const fs::path& directory) {
        const std::string program = (directory / "quenmark-console").string();
        pid_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            setenv("LANG", "C", 1);
            setenv("LC_ALL", "C", 1);
            setenv("TERM", "xterm", 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~InteractiveConsole() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (terminal_ >= 0) close(terminal_);
    }

    void Type(const std::string& keys) { ASSERT_EQ(write(terminal_, keys.data(), keys.size()), ssize_t(keys.size())); }
    // Reads what the terminal shows until it holds text; false after a timeout.
    bool ReadUntil(const std::string& text) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        char buffer[4096];
        while (seen_.find(text) == std::string::npos && Clock::now() < deadline) {
            pollfd ready{terminal_, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            const ssize_t count = read(terminal_, buffer, sizeof buffer);
            if (count <= 0) return false;
            seen_.append(buffer, static_cast<size_t>(count));
        }
        return seen_.find(text) != std::string::npos;
    }
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    const std::string& Seen() const { return seen_; }

private:
    pid_t pid_ = -1;
    int terminal_ = -1;
    std::string seen_;
};

TEST(InteractiveTest, CtrlCClearsTheLineAndCtrlDEnds) {
    const fs::path directory = fs::temp_directory_path() / ("quenmark-interactive-" + std::to_string(getpid()));
    fs::remove_all(directory);
    fs::copy(QUENMARK_PROGRAM_DIR, directory, fs::copy_options::recursive);
    {
        InteractiveConsole console(directory);
        ASSERT_TRUE(console.ReadUntil("> ")) << console.Seen();
        console.Type("12+3");
        ASSERT_TRUE(console.ReadUntil("12+3"));
        console.Type("\x03");
        ASSERT_TRUE(console.ReadUntil("^C\r\n> ")) << console.Seen();
        console.Type("1+1\r");
        ASSERT_TRUE(console.ReadUntil("\r\n2\r\n> ")) << console.Seen();
        EXPECT_EQ(console.Seen().find("15"), std::string::npos) << "the cleared line ran";
        console.Type("\x04");
        const int status = console.Wait();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    fs::remove_all(directory);
}

}  // namespace
}  // namespace quenmark
