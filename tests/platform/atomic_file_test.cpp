#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

// The id of a process that has ended and been reaped.
pid_t EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::set<std::string> FileNames(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

size_t FileCount(const std::string& directory) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
    return count;
}

TEST(AtomicFileTest, CreatesANewFile) {
    TempDirectory dir;
    const auto written = ReplaceFileContents(dir.PathOf("new.cfg"), "abc\r\n");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->st_size, 5);
    EXPECT_EQ(dir.Read("new.cfg"), "abc\r\n");
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, ReplacesTheFileByANewOne) {
    TempDirectory dir;
    const std::string path = dir.Write("s.cfg", "old contents");
    struct stat old {};
    stat(path.c_str(), &old);
    const auto written = ReplaceFileContents(path, "new");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(dir.Read("s.cfg"), "new");
    EXPECT_NE(written->st_ino, old.st_ino) << "the old file is replaced, never rewritten in place";
    struct stat now {};
    stat(path.c_str(), &now);
    EXPECT_EQ(now.st_ino, written->st_ino);
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, AFileThatCannotBeCreatedChangesNothing) {
    TempDirectory dir;
    EXPECT_FALSE(ReplaceFileContents(dir.PathOf("missing/s.cfg"), "x").has_value());
    std::filesystem::create_directory(dir.PathOf("sub"));
    dir.Write("sub/keep", "kept");
    EXPECT_FALSE(ReplaceFileContents(dir.PathOf("sub"), "x").has_value()) << "a directory is not replaced";
    EXPECT_EQ(dir.Read("sub/keep"), "kept");
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(AtomicFileTest, RemovesTheTemporaryFilesOfKilledSavesOnly) {
    TempDirectory dir;
    const std::string ended = std::to_string(EndedProcessId());
    const std::string running = std::to_string(getppid());
    const std::string path = dir.Write("s.cfg", "old");
    const std::vector<std::string> kept = {
        ".s.cfg.tmp" + running + ".4",  // a save in progress elsewhere
        ".s.cfg.tmp" + ended,           // not a name of ours: no counter
        ".s.cfg.tmp" + ended + ".x",    // not a name of ours: no number
        ".t.cfg.tmp" + ended + ".1",    // another file's save
        "s.cfg.tmp" + ended + ".1",     // not hidden
    };
    for (const std::string& name : kept) dir.Write(name, "partial");
    dir.Write(".s.cfg.tmp" + ended + ".0", "partial");
    dir.Write(".s.cfg.tmp" + ended + ".17", "partial");

    ASSERT_TRUE(ReplaceFileContents(path, "new").has_value());

    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert("s.cfg");
    EXPECT_EQ(FileNames(dir.Path()), expected);
    EXPECT_EQ(dir.Read("s.cfg"), "new");
}

}  // namespace
}  // namespace quenmark
