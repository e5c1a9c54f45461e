#include "platform/program_directory.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>

#include "platform/user_account.h"

namespace quenmark {
namespace {

TEST(ProgramDirectoryTest, HoldsTheRunningExecutable) {
    const std::string& directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_TRUE(std::filesystem::equivalent(directory + executable.filename().string(), executable));
}

TEST(ProgramDirectoryTest, DirectoryOfPathKeepsTheTrailingSlash) {
    EXPECT_EQ(DirectoryOfPath("/opt/quenmark/quenmark"), "/opt/quenmark/");
    EXPECT_EQ(DirectoryOfPath("/quenmark"), "/");
    EXPECT_EQ(DirectoryOfPath("quenmark"), "./");
}

TEST(UserAccountTest, LoginNameAndHomeComeFromThePasswordDatabase) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(LoginName(), std::string(entry->pw_name).substr(0, 79));
    EXPECT_LE(LoginName().size(), 79u);
    EXPECT_FALSE(HomeDirectory().empty());
    EXPECT_TRUE(HomeDirectory() == "/" || HomeDirectory().back() != '/');
}

}  // namespace
}  // namespace quenmark
