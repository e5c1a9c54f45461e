// Starts the built quenmark-console from copies of the program directory:
// a module that crashes while it loads, a program folder that others can
// write, a module of another user, and output that a crash must not lose.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"
#include "support/file_bytes.h"
#include "support/program_copy.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

struct TConsoleRunResult {
    int Status = -1;
    std::string Out;
    std::string Errors;

    int ExitCode() const { return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1; }
};

class ModuleStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quenmark-module-start-XXXXXX";
        root_ = mkdtemp(pattern);
        program_ = root_ / "program";
        test::CopyProgramDirectory(program_);
        chmod(program_.c_str(), 0755);
    }
    void TearDown() override {
        chmod(program_.c_str(), 0755);
        fs::remove_all(root_);
    }

    // Runs the console on the input with the arguments; standard output and
    // standard error go to files.
    TConsoleRunResult Run(const std::string& input, const std::vector<std::string>& arguments = {}) const {
        const fs::path in = root_ / "in", out = root_ / "out", errors = root_ / "errors";
        std::ofstream(in, std::ios::binary) << input;
        const std::string console = (program_ / "quenmark-console").string();
        std::vector<const char*> argv{console.c_str()};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            dup2(open(in.c_str(), O_RDONLY), STDIN_FILENO);
            dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
            dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            setenv("LANG", "C", 1);
            setenv("LC_ALL", "C", 1);
            setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
            setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
            execv(console.c_str(), const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        TConsoleRunResult result;
        EXPECT_TRUE(EndedInTime(child, result.Status));
        result.Out = FileBytes(out);
        result.Errors = FileBytes(errors);
        return result;
    }

    std::vector<fs::path> SettingsFilesIn(const fs::path& directory) const {
        std::vector<fs::path> files;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(directory, ignored))
            if (entry.path().extension() == ".cfg") files.push_back(entry.path());
        return files;
    }

    fs::path root_;
    fs::path program_;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void SkipWhereSanitizersTakeTheSignals() {
#ifdef QUENMARK_SANITIZED_BUILD
    GTEST_SKIP() << "the sanitizers take over the fatal signals; the crash handling is checked in the plain build";
#endif
}

TEST_F(ModuleStartTest, AModuleThatCrashesWhileLoadingIsSkippedUntilItsFileChanges) {
    SkipWhereSanitizersTakeTheSignals();
    if (::testing::Test::IsSkipped()) return;
    const fs::path module = program_ / "crash_in_init.vmx";
    fs::copy_file(QUENMARK_CRASH_IN_INIT_MODULE, module);
    const fs::path records = root_ / "cache" / "quenmark" / "module-cache";

    const TConsoleRunResult crashed = Run("", {"1 + 2"});
    EXPECT_EQ(crashed.ExitCode(), 128 + SIGSEGV) << crashed.Errors;
    EXPECT_TRUE(Contains(crashed.Errors, "quenmark-console: the module crash_in_init.vmx failed with SIGSEGV in its "
                                         "function Init while it was loaded"))
        << crashed.Errors;
    EXPECT_TRUE(Contains(FileBytes(records), " " + module.string() + "\n")) << FileBytes(records);

    const TConsoleRunResult skipped = Run("@MOD\n2 + 3\n");
    EXPECT_EQ(skipped.ExitCode(), 0) << skipped.Errors;
    const std::string notice = "The module crash_in_init.vmx is not loaded: it crashed the program";
    EXPECT_TRUE(Contains(skipped.Errors, "quenmark-console: " + notice)) << skipped.Errors;
    EXPECT_TRUE(Contains(skipped.Out, "> @MOD\nLoaded modules:\n")) << skipped.Out;
    EXPECT_TRUE(Contains(skipped.Out, "  math.vmx\t : ")) << skipped.Out;
    EXPECT_TRUE(Contains(skipped.Out, notice)) << skipped.Out;
    EXPECT_TRUE(Contains(skipped.Out, "> 2 + 3\n5\n")) << skipped.Out;

    // A newer modification time: tried again, and recorded again.
    const fs::file_time_type modified = fs::last_write_time(module);
    fs::last_write_time(module, modified + std::chrono::seconds(10));
    EXPECT_EQ(Run("", {"1 + 2"}).ExitCode(), 128 + SIGSEGV);
    EXPECT_EQ(Run("", {"1 + 2"}).Out, "3\n");
    // Another size: tried again.
    std::ofstream(module, std::ios::binary | std::ios::app).put('\0');
    fs::last_write_time(module, modified + std::chrono::seconds(10));
    EXPECT_EQ(Run("", {"1 + 2"}).ExitCode(), 128 + SIGSEGV);
}

TEST_F(ModuleStartTest, AProgramFolderThatOthersCanWriteLoadsNoModuleAndHoldsNoSettings) {
    // A settings file beside the program with a value another user chose.
    ASSERT_EQ(Run("rate = 999\n").ExitCode(), 0);
    const std::vector<fs::path> planted = SettingsFilesIn(program_);
    ASSERT_EQ(planted.size(), 1u);
    const std::string plantedBytes = FileBytes(planted[0]);
    for (const mode_t mode : {0775u, 0777u, 01777u}) {
        fs::remove_all(root_ / "config");
        ASSERT_EQ(chmod(program_.c_str(), mode), 0);
        const TConsoleRunResult run = Run("@MOD\nrate\nkept = 5\nSIN(0)\n");
        const std::string notice = "The modules in " + program_.string() + "/ are not loaded: other users can write";
        EXPECT_TRUE(Contains(run.Errors, "quenmark-console: " + notice)) << std::oct << mode << run.Errors;
        EXPECT_TRUE(Contains(run.Out, "> @MOD\nNo module is loaded.\n" + notice)) << run.Out;
        EXPECT_FALSE(Contains(run.Out, "999")) << run.Out;
        EXPECT_FALSE(Contains(run.Out, "> SIN(0)\n0\n")) << run.Out;
        const std::vector<fs::path> own = SettingsFilesIn(root_ / "config" / "quenmark");
        ASSERT_EQ(own.size(), 1u) << std::oct << mode;
        // The variable's name as the settings file keeps it, in hexadecimal.
        EXPECT_TRUE(Contains(FileBytes(own[0]), "6B657074")) << std::oct << mode;
        EXPECT_EQ(FileBytes(planted[0]), plantedBytes) << std::oct << mode;
    }
}

TEST_F(ModuleStartTest, AModuleOfAnotherUserIsNotLoaded) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const fs::path plant = program_ / "zz_plant.vmx";
    fs::copy_file(QUENMARK_MISBEHAVING_MODULE, plant);
    ASSERT_EQ(chown(plant.c_str(), 65534, 65534), 0);
    const TConsoleRunResult run = Run("@MOD\nCrashNow\n");
    EXPECT_EQ(run.ExitCode(), 0);
    const std::string notice = "The module zz_plant.vmx is not loaded: it belongs to another user";
    EXPECT_TRUE(Contains(run.Errors, notice)) << run.Errors;
    EXPECT_TRUE(Contains(run.Out, notice)) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  math.vmx\t : ")) << run.Out;
}

TEST_F(ModuleStartTest, AModuleThatOthersCanWriteIsNotLoaded) {
    const fs::path plant = program_ / "zz_plant.vmx";
    fs::copy_file(QUENMARK_MISBEHAVING_MODULE, plant);
    ASSERT_EQ(chmod(plant.c_str(), 0777), 0);
    const TConsoleRunResult run = Run("", {"1 + 1"});
    EXPECT_EQ(run.Out, "2\n");
    EXPECT_TRUE(Contains(run.Errors, "The module zz_plant.vmx is not loaded: it belongs to another user, or other "
                                     "users can write to it."))
        << run.Errors;
}

// The user's own folder gives modules beside the shipped ones, and a module
// there that breaks a rule is named with the rule on standard error and in
// "@MOD".
TEST_F(ModuleStartTest, ABrokenModuleOfTheUsersFolderIsNamedWithItsReason) {
    const fs::path folder = root_ / "data" / "quenmark" / "modules";
    fs::create_directories(folder);
    chmod(folder.c_str(), 0755);
    fs::copy_file(QUENMARK_NO_INFO_MODULE, folder / "broken.vmx");
    fs::copy_file(program_ / "ops.vmx", folder / "zz_ops.vmx");
    const TConsoleRunResult run = Run("@MOD\n7 mod 4\n");
    EXPECT_EQ(run.ExitCode(), 0) << run.Errors;
    const std::string notice =
        "The module broken.vmx lacks a required entry point or has an invalid information record.";
    EXPECT_TRUE(Contains(run.Errors, "quenmark-console: " + notice + "\n")) << run.Errors;
    EXPECT_TRUE(Contains(run.Out, "  zz_ops.vmx\t : ")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, notice)) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "> 7 mod 4\n3\n")) << run.Out;

    // Open to writes of others, the folder gives nothing, and says so.
    chmod(folder.c_str(), 0777);
    const TConsoleRunResult refused = Run("@MOD\n");
    EXPECT_FALSE(Contains(refused.Out, "zz_ops.vmx")) << refused.Out;
    EXPECT_TRUE(Contains(refused.Errors, "quenmark-console: The modules in " + folder.string() + "/ are not loaded"))
        << refused.Errors;
}

TEST_F(ModuleStartTest, ResultsPrintedBeforeAModuleCrashReachTheOutputFile) {
    SkipWhereSanitizersTakeTheSignals();
    if (::testing::Test::IsSkipped()) return;
    fs::copy_file(QUENMARK_MISBEHAVING_MODULE, program_ / "misbehaving.vmx");
    const TConsoleRunResult log = Run("1 + 1\n2 + 2\nCrashNow()\n");
    EXPECT_EQ(log.ExitCode(), 128 + SIGSEGV);
    EXPECT_TRUE(Contains(log.Out, "> 1 + 1\n2\n> 2 + 2\n4\n")) << log.Out;
    const TConsoleRunResult results = Run("", {"1 + 1", "2 + 2", "CrashNow()"});
    EXPECT_EQ(results.ExitCode(), 128 + SIGSEGV);
    EXPECT_EQ(results.Out, "2\n4\n");
}

}  // namespace
}  // namespace quenmark
