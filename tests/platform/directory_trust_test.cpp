#include "platform/directory_trust.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

constexpr uid_t User = 1000;
constexpr uid_t Other = 1001;

TEST(DirectoryTrustTest, CodeIsTrustedOnlyFromTheUsersOrRootsFoldersThatOthersCannotWrite) {
    const struct {
        uid_t Owner;
        mode_t Mode;
        bool Trusted;
    } rows[] = {
        {User, 0755, true},   {User, 0775, false},  {User, 0777, false},  {User, 01777, false},
        {0, 0755, true},      {0, 0775, false},     {0, 0777, false},     {0, 01777, false},
        {Other, 0755, false}, {Other, 0775, false}, {Other, 0777, false}, {Other, 01777, false},
        {User, 0700, true},   {User, 0757, false},  {User, 01755, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsClosedToOthers(row.Owner, S_IFDIR | row.Mode, User, TrustedForCode), row.Trusted)
            << "owner " << row.Owner << ", mode " << std::oct << row.Mode;
}

TEST(DirectoryTrustTest, APrivateFolderIsTheUsersAloneAndClosedEvenToReading) {
    const struct {
        uid_t Owner;
        mode_t Mode;
        bool Private;
    } rows[] = {
        {User, 0700, true}, {User, 0750, false}, {User, 0705, false}, {User, 01700, true},
        {0, 0700, false},   {Other, 0700, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsClosedToOthers(row.Owner, S_IFDIR | row.Mode, User, PrivateToUser), row.Private)
            << "owner " << row.Owner << ", mode " << std::oct << row.Mode;
}

TEST(DirectoryTrustTest, RealFoldersAreJudgedByTheirModeAndType) {
    testing::TempDirectory temp;
    const std::string folder = temp.PathOf("folder");
    const std::string file = temp.Write("module.vmx", "code");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    for (const mode_t mode : {0755u, 0775u, 0777u, 01777u}) {
        ASSERT_EQ(chmod(folder.c_str(), mode), 0);
        EXPECT_EQ(IsTrustedDirectory(folder), mode == 0755) << std::oct << mode;
        ASSERT_EQ(chmod(file.c_str(), mode & 0777), 0);
        EXPECT_EQ(IsTrustedFile(file), mode == 0755) << std::oct << mode;
    }
    EXPECT_FALSE(IsTrustedDirectory(file));
    EXPECT_FALSE(IsTrustedFile(folder));
    EXPECT_FALSE(IsTrustedDirectory(temp.PathOf("missing")));
}

TEST(DirectoryTrustTest, AFolderOfAnotherUserIsNotTrusted) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    testing::TempDirectory temp;
    const std::string folder = temp.PathOf("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_TRUE(IsTrustedDirectory(folder));
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(IsTrustedDirectory(folder));
}

}  // namespace
}  // namespace quenmark
