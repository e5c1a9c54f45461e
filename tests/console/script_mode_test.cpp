// The built quenmark-console run as scripts run it, one run after another
// on one settings file: a script starts with the display of a fresh
// session, prints plain results, keeps its display commands and its lines
// to itself, and a run that changes nothing leaves the file untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/history_section.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

// What a run may do to the settings file.
enum class FileEffect {
    Any,        // not looked at
    Untouched,  // same file (inode), same time and bytes; no lock or temporary file made
    Written,    // replaced
};

struct Step {
    const char* Behaviour;
    std::string Arguments;  // as the shell reads them
    std::string Input;      // on standard input
    int Status;
    std::string Out;        // all of standard output, or a part with OutIsPart
    bool OutIsPart = false;
    std::string Errors;     // a part of standard error; empty: there is none
    FileEffect Effect = FileEffect::Any;
    std::string Setup = {};     // shell commands run first
    std::string FileHolds = {};  // a part of the settings file after the run
    std::string Environment = {};  // for the console, after LANG=C LC_ALL=C
};

// The file as far as a write would change it.
struct FileStamp {
    bool Exists = false;
    ino_t Inode = 0;
    timespec Modified{};
    std::string Bytes;
};

FileStamp StampOf(const fs::path& path) {
    FileStamp stamp;
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return stamp;
    stamp.Exists = true;
    stamp.Inode = status.st_ino;
    stamp.Modified = status.st_mtim;
    stamp.Bytes = FileBytes(path);
    return stamp;
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.Exists == b.Exists && a.Inode == b.Inode && a.Modified.tv_sec == b.Modified.tv_sec &&
           a.Modified.tv_nsec == b.Modified.tv_nsec && a.Bytes == b.Bytes;
}

class ScriptModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        test::CopyProgramDirectory(directory_ / "program");
        fs::create_directories(directory_ / "home");
        std::ofstream(directory_ / "script.qm") << "#!/usr/bin/env -S quenmark-console -f\n@HEX\n# a comment\n255\n";
    }
    void TearDown() override { fs::remove_all(directory_); }

    // The settings file beside the program, as a copy that is not installed uses it.
    fs::path SettingsFile() const {
        for (const auto& entry : fs::directory_iterator(directory_ / "program"))
            if (entry.path().extension() == ".cfg") return entry.path();
        return {};
    }

    // Files made beside the settings file: its lock and a save's temporary file.
    size_t FilesBeside() const {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(directory_ / "program")) ++count;
        return count;
    }

    void RunStep(const Step& step) {
        if (!step.Setup.empty()) {
            ASSERT_EQ(std::system(step.Setup.c_str()), 0) << step.Behaviour;
        }
        const fs::path settings = SettingsFile();
        // A lock file left by an earlier save would hide one made now.
        if (!settings.empty()) fs::remove(settings.string() + ".lock");
        const FileStamp before = StampOf(settings);
        const size_t filesBefore = FilesBeside();
        std::ofstream(directory_ / "input.txt", std::ios::trunc) << step.Input;
        const std::string command = "cd '" + directory_.string() + "' && HOME='" + (directory_ / "home").string() +
                                    "' XDG_CONFIG_HOME= LANG=C LC_ALL=C " + step.Environment +
                                    " timeout 20 ./program/quenmark-console"
                                    " < input.txt > out.txt 2> errors.txt " + step.Arguments;
        const int status = std::system(command.c_str());
        const std::string out = FileBytes(directory_ / "out.txt");
        const std::string errors = FileBytes(directory_ / "errors.txt");
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, step.Status) << step.Behaviour << "\n" << errors;
        if (step.OutIsPart) EXPECT_NE(out.find(step.Out), std::string::npos) << step.Behaviour << "\n" << out;
        else EXPECT_EQ(out, step.Out) << step.Behaviour;
        if (step.Errors.empty()) EXPECT_EQ(errors, "") << step.Behaviour;
        else EXPECT_NE(errors.find(step.Errors), std::string::npos) << step.Behaviour << "\n" << errors;
        if (step.Effect == FileEffect::Untouched) {
            EXPECT_TRUE(SameStamp(StampOf(SettingsFile()), before)) << step.Behaviour << ": the file was written";
            EXPECT_EQ(FilesBeside(), filesBefore) << step.Behaviour << ": a lock or temporary file was made";
        } else if (step.Effect == FileEffect::Written) {
            EXPECT_FALSE(SameStamp(StampOf(SettingsFile()), before)) << step.Behaviour << ": the file was not written";
        }
        if (!step.FileHolds.empty()) {
            EXPECT_NE(FileBytes(SettingsFile()).find(step.FileHolds), std::string::npos) << step.Behaviour;
        }
    }

    const fs::path directory_ = fs::temp_directory_path() / ("quenmark-script-mode-" + std::to_string(getpid()));
};

TEST_F(ScriptModeTest, ScriptsStartFreshPrintPlainlyAndKeepOnlyTheirVariables) {
    const std::string settingsFile = "'" + (directory_ / "program").string() + "'/*.cfg";
    // Marks the copy as installed: its settings then live in the home.
    const std::string installed = "'" + (directory_ / "program" / "installed-copy").string() + "'";
    const Step steps[] = {
        {"a script's @HEX lasts until it ends", "'@HEX' 255 '\"text\"'", "", 0, "0xFF\ntext\n", false, "",
         FileEffect::Untouched},
        {"and does not reach the next session", "", "255\n", 0, "> 255\n255\n", true, ""},
        {"the log saves a mask and a mode", "", "@FORMAT \"#,##0.00\"\n@HEX\nkept = 255\n", 0, "", true, "",
         FileEffect::Written},
        {"the log shows them", "", "kept\n", 0, "> kept\nHEX : FF\n", true, ""},
        {"neither reaches a script", "-q", "1234567.5\nkept\n", 0, "1234567.5\n255\n", false, "",
         FileEffect::Untouched},
        {"plain forms", "-- '0x10+1' 'SQRT(2)' '@BIN' 5 -1 2.5", "", 0,
         "17\n1.4142135623731\n0b0101\n0b11111111111111111111111111111111\n2.5\n", false, "", FileEffect::Untouched},
        {"comments and #! in a script file", "-f script.qm", "", 0, "0xFF\n", false, "", FileEffect::Untouched},
        {"a failed line names FILE:LINE", "-f - 1", "\n1/0\n", 1, "1\n", false,
         "quenmark-console: standard input:2: Division by zero.", FileEffect::Untouched},
        {"no history from a script", "'61*7'", "", 0, "427\n", false, "", FileEffect::Untouched},
        {"unless it asks for it", "--history '61*7'", "", 0, "427\n", false, "", FileEffect::Written, "",
         EncodeHistoryLine("61*7")},
        {"an assignment is saved", "'more = 2'", "", 0, "2\n", false, "", FileEffect::Written},
        {"and loaded by the next script", "'kept + more'", "", 0, "257\n", false, "", FileEffect::Untouched},
        {"--fresh loads nothing", "--fresh kept", "", 1, "", false, "Unknown name: kept", FileEffect::Untouched},
        {"and saves nothing", "--fresh 'lost = 1'", "", 0, "1\n", false, "", FileEffect::Untouched},
        {"a read-only file costs a run that changes nothing nothing", "kept", "", 0, "255\n", false, "",
         FileEffect::Untouched, "chmod 0444 " + settingsFile},
        {"nor the log when nothing is entered", "", "", 0, "Quenmark", true, "", FileEffect::Untouched},
        {"a change that cannot be saved is reported", "'more = 3'", "", 1, "3\n", false, "quenmark-console: ",
         FileEffect::Untouched},
        {"so does a home that cannot be written", "'6*7'", "", 0, "42\n", false, "", FileEffect::Untouched,
         "chmod 0644 " + settingsFile + " && touch " + installed, "", "HOME=/dev/null"},
        {"where a change is reported", "'more = 5'", "", 1, "5\n", false, "/dev/null/.config/quenmark/",
         FileEffect::Untouched, "", "", "HOME=/dev/null"},
        {"a wrong option", "--fresh -z 1", "", 2, "", false, "unknown option '-z'", FileEffect::Untouched,
         "rm " + installed},
        {"output that cannot be written", "'more = 4' > /dev/full", "", 1, "", false, "No space left on device",
         FileEffect::Written},
        {"after saving what was worked out", "more", "", 0, "4\n", false, "", FileEffect::Untouched},
    };
    for (const Step& step : steps) RunStep(step);
}

// The locale's decimal comma is the log's, never a script's. The locale is
// built for the test, where the system has the tools to build it.
TEST_F(ScriptModeTest, ALocaleWithADecimalCommaDoesNotReachAScript) {
    const std::string locales = (directory_ / "locales").string();
    const std::string build = "localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' > /dev/null 2>&1";
    if (std::system(("mkdir -p '" + locales + "' && " + build).c_str()) != 0)
        GTEST_SKIP() << "no German locale can be built here";
    const std::string german = "LOCPATH='" + locales + "' LC_ALL=de_DE.UTF-8";
    const Step steps[] = {
        {"the log follows the locale", "--no-save", "5/2\n", 0, "\n2,5\n", true, "", FileEffect::Any, "", "",
         german},
        {"a script does not", "5/2 '1234.5*2'", "", 0, "2.5\n2469\n", false, "", FileEffect::Any, "", "", german},
    };
    for (const Step& step : steps) RunStep(step);
}

}  // namespace
}  // namespace quenmark
