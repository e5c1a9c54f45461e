// The desktop program's --help and --version: answered on standard output
// with no window system at all, and a failed write ends with status 1.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/program_version.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

struct Answer {
    int status = -1;
    std::string out, errors;
};

// Runs the program through the shell with no display of any kind: no X
// server, no Wayland, no platform chosen for Qt.
Answer RunWithoutDisplay(const std::string& arguments, const std::string& outputTarget, const fs::path& directory) {
    const fs::path errors = directory / "errors";
    const fs::path out = directory / "out";
    const std::string target = outputTarget.empty() ? out.string() : outputTarget;
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" QUENMARK_PROGRAM_DIR
                                "/quenmark' " + arguments + " > '" + target + "' 2> '" + errors.string() + "'";
    const int status = std::system(command.c_str());
    Answer answer;
    answer.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (outputTarget.empty()) answer.out = FileBytes(out);
    answer.errors = FileBytes(errors);
    return answer;
}

TEST(DesktopAnswers, HelpAndVersionNeedNoDisplayAndReportAFailedWrite) {
    if (!fs::exists(QUENMARK_PROGRAM_DIR "/quenmark")) GTEST_SKIP() << "the desktop program is not built";
    const fs::path directory = fs::temp_directory_path() / ("quenmark-desktop-answers-" + std::to_string(getpid()));
    fs::create_directories(directory);
    struct Row {
        std::string arguments, outputTarget;
        int status;
        std::string outStart, errors;
    };
    const Row rows[] = {
        {"--help", "", 0, "Usage: quenmark [--help | --version]\n", ""},
        {"-h", "", 0, "Usage: quenmark [--help | --version]\n", ""},
        {"--version", "", 0, std::string("quenmark (") + ProductNameText + ") " + FileVersionText + "\n", ""},
        {"-V", "", 0, std::string("quenmark (") + ProductNameText + ") " + FileVersionText + "\n", ""},
        {"--help", "/dev/full", 1, "", "quenmark: standard output: No space left on device\n"},
        {"--version", "/dev/full", 1, "", "quenmark: standard output: No space left on device\n"},
    };
    for (const Row& row : rows) {
        const Answer answer = RunWithoutDisplay(row.arguments, row.outputTarget, directory);
        EXPECT_EQ(answer.status, row.status) << row.arguments << " > " << row.outputTarget;
        EXPECT_EQ(answer.out.substr(0, row.outStart.size()), row.outStart) << row.arguments;
        EXPECT_EQ(answer.errors, row.errors) << row.arguments;
    }
    fs::remove_all(directory);
}

}  // namespace
}  // namespace quenmark
