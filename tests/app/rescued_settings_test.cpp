#include "app/rescued_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../definitions/temp_directory.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

TEST(RescueDirectory, FollowsTheStateHomeOrTheHomeDirectory) {
    const struct {
        const char* Home;
        const char* StateHome;
        const char* Expected;
    } rows[] = {
        {"/home/ann", "", "/home/ann/.local/state/quenmark/"},
        {"/home/ann/", "", "/home/ann/.local/state/quenmark/"},
        {"/home/ann", "/var/state", "/var/state/quenmark/"},
        {"/home/ann", "relative/state", "/home/ann/.local/state/quenmark/"},
        {"", "", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RescueDirectory(row.Home, row.StateHome), row.Expected) << row.Home << " " << row.StateHome;
}

TEST(RescueSettingsBytes, WritesANewPrivateFileEachTimeInFoldersItCreates) {
    testing::TempDirectory temp;
    const std::string directory = temp.PathOf("state/quenmark/");
    const std::time_t when = 1796700000;
    const std::string first = RescueSettingsBytes(directory, "[Variables]\r\n;01\r\n", when);
    const std::string second = RescueSettingsBytes(directory, "second", when);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(directory + "rescued-", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 4), ".cfg");
    EXPECT_EQ(FileBytes(first), "[Variables]\r\n;01\r\n");
    EXPECT_EQ(FileBytes(second), "second");
    struct stat status {};
    ASSERT_EQ(stat(first.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(directory.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST(RescueSettingsBytes, GivesNothingWhereNoFolderCanBeMade) {
    testing::TempDirectory temp;
    const std::string blocker = temp.Write("file", "x");
    EXPECT_EQ(RescueSettingsBytes(blocker + "/quenmark/", "bytes", 0), "");
    EXPECT_EQ(RescueSettingsBytes("", "bytes", 0), "");
}

}  // namespace
}  // namespace quenmark
