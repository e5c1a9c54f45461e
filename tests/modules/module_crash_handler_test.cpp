// The crash handler as a front end installs it, in a child process that
// loads a module crashing in its Init.
#include "app/module_crash_handler.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/module_quarantine.h"
#include "base/context.h"
#include "support/child_process.h"
#include "support/file_bytes.h"
#include "vm/vm_module.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

int flushTarget = -1;

void WriteFlushMark() {
    const char mark[] = "flushed\n";
    if (write(flushTarget, mark, sizeof mark - 1) < 0) _exit(3);
}

TEST(ModuleCrashHandlerTest, ACrashAtLoadIsReportedRecordedAndFlushedUnderTheProgramsName) {
#ifdef QUENMARK_SANITIZED_BUILD
    GTEST_SKIP() << "the sanitizers take over the fatal signals; the crash handling is checked in the plain build";
#endif
    char pattern[] = "/tmp/quenmark-crash-handler-XXXXXX";
    const fs::path root = mkdtemp(pattern);
    const fs::path report = root / "messages.txt", flushed = root / "flushed", errors = root / "errors";
    const std::string cache = (root / "cache" / "quenmark").string() + "/";
    const std::string directory = fs::path(QUENMARK_CRASH_IN_INIT_MODULE).parent_path().string() + "/";
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        flushTarget = open(flushed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        CatchModuleCrashes({"quenmark", report.string(), WriteFlushMark});
        const TModuleQuarantine quarantine(cache);
        if (!quarantine.Arm(*StampOfFile(QUENMARK_CRASH_IN_INIT_MODULE))) _exit(2);
        const TCCContext context;
        TVMModule module(context, directory, "crash_in_init.vmx");
        _exit(0);
    }
    int status = 0;
    ASSERT_TRUE(EndedInTime(child, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGSEGV) << "wait status " << status;
    const std::string line =
        "quenmark: the module crash_in_init.vmx failed with SIGSEGV in its function Init while it was loaded; it is "
        "skipped from now on until its file changes.\n";
    EXPECT_EQ(FileBytes(errors), line);
    EXPECT_EQ(FileBytes(report), line);
    EXPECT_EQ(fs::status(report).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FileBytes(flushed), "flushed\n");
    EXPECT_TRUE(TModuleQuarantine(cache).Holds(*StampOfFile(QUENMARK_CRASH_IN_INIT_MODULE)));
    fs::remove_all(root);
}

}  // namespace
}  // namespace quenmark
