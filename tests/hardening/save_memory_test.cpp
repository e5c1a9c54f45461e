// A save that runs out of memory under an address-space limit ends in a
// reported failure (status 1, the message, the old file whole), never in
// an abort, whichever step of the save the memory runs out in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quenmark {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the console on input under the limit; returns its wait status.
int RunLimited(const fs::path& input, const fs::path& settings, const fs::path& errors, rlim_t limitBytes) {
    const std::string console = std::string(QUENMARK_PROGRAM_DIR) + "/quenmark-console";
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_AS, &limit);
        const int in = open(input.c_str(), O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execl(console.c_str(), console.c_str(), "-q", "-s", settings.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(SaveMemoryTest, ASaveOutOfMemoryFailsCleanly) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limits leave";
#endif
    const fs::path dir = fs::temp_directory_path() / ("quenmark-save-memory-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path settings = dir / "s.cfg";
    const fs::path input = dir / "input.txt";
    const fs::path errors = dir / "errors.txt";
    {
        // A string of 16 MiB, doubled from two letters: its saved line takes
        // several times that while it is encoded.
        std::ofstream lines(input);
        lines << "s = \"ab\"\n";
        for (int i = 0; i < 23; ++i) lines << "s = s + s\n";
    }
    const std::string old =
        "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n[Variables]\r\n[History]\r\n";
    int reported = 0;
    // The limit at which the save itself runs out depends on the build, so
    // a range of them is tried: every run ends by itself, and where the save
    // is reported as failed, the old file is whole.
    for (rlim_t mebibytes = 120; mebibytes <= 400; mebibytes += 40) {
        std::ofstream(settings, std::ios::binary | std::ios::trunc) << old;
        const int status = RunLimited(input, settings, errors, mebibytes << 20);
        ASSERT_TRUE(WIFEXITED(status)) << mebibytes << " MiB: ended by signal " << WTERMSIG(status);
        const std::string message = ReadBytes(errors);
        if (message.find("not enough memory to save") == std::string::npos) continue;
        ++reported;
        EXPECT_EQ(WEXITSTATUS(status), 1) << mebibytes;
        EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
        EXPECT_EQ(ReadBytes(settings), old) << mebibytes << " MiB: the old file was changed";
    }
    EXPECT_GT(reported, 0) << "no limit made the save run out of memory";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quenmark
