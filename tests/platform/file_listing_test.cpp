#include "platform/file_listing.h"

#include <gtest/gtest.h>
#include <dirent.h>

#include <algorithm>
#include <filesystem>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

TEST(FileListingTest, ListsRegularFilesWithTheExtensionInAnyLetterCase) {
    TempDirectory dir;
    for (const char* name : {"a.lng", "B.LNG", "c.Lng", "d.lng.bak", "e.msg", ".hidden.lng", "lng"})
        dir.Write(name, "x");
    std::filesystem::create_directory(dir.PathOf("folder.lng"));
    std::filesystem::create_symlink(dir.PathOf("a.lng"), dir.PathOf("link.lng"));
    std::filesystem::create_symlink(dir.PathOf("folder.lng"), dir.PathOf("dirlink.lng"));
    std::filesystem::create_symlink(dir.PathOf("none"), dir.PathOf("broken.lng"));

    std::vector<std::string> names = ListFilesWithExtension(dir.Path(), ".lng");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.LNG", "a.lng", "c.Lng", "link.lng"}));
}

TEST(FileListingTest, KeepsTheOrderOfTheDirectoryListing) {
    TempDirectory dir;
    for (int i = 0; i < 40; ++i) dir.Write("f" + std::to_string(i) + ".vmx", "x");
    std::vector<std::string> listed;
    DIR* handle = opendir(dir.Path().c_str());
    ASSERT_NE(handle, nullptr);
    while (const dirent* entry = readdir(handle))
        if (entry->d_name[0] != '.') listed.emplace_back(entry->d_name);
    closedir(handle);
    EXPECT_EQ(ListFilesWithExtension(dir.Path(), ".vmx"), listed);
}

TEST(FileListingTest, AMissingDirectoryListsNothing) {
    TempDirectory dir;
    EXPECT_TRUE(ListFilesWithExtension(dir.PathOf("none"), ".lng").empty());
}

TEST(FileListingTest, HasExtensionIgnoresOnlyAsciiCase) {
    EXPECT_TRUE(HasExtension("x.LnG", ".lng"));
    EXPECT_FALSE(HasExtension("x.lngx", ".lng"));
    EXPECT_FALSE(HasExtension("ng", ".lng"));
    EXPECT_FALSE(HasExtension("x.\xC3\x84", ".\xC3\xA4"));
}

}  // namespace
}  // namespace quenmark
