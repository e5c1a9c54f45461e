#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

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

}  // namespace
}  // namespace quenmark
