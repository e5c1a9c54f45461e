#include "definitions/profile_cache.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

std::string ValueOf(const TProfileCache::Snapshot& snapshot) {
    const std::string* value = snapshot.Text->Value("S", "k");
    return value ? *value : "<none>";
}

// Rewrites the file in place: same inode.
void OverwriteInPlace(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

class ProfileCacheTest : public ::testing::Test {
protected:
    TempDirectory dir;
    TProfileCache cache;
};

TEST_F(ProfileCacheTest, AnUnchangedFileIsReadOnce) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    EXPECT_EQ(ValueOf(cache.Load(path)), "1");
    EXPECT_EQ(ValueOf(cache.Load(path)), "1");
    EXPECT_EQ(ValueOf(cache.Load(path)), "1");
    EXPECT_EQ(cache.ReadCount(), 1u);
}

TEST_F(ProfileCacheTest, ASizeChangeIsSeenEvenWithTheSameTime) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    ASSERT_EQ(ValueOf(cache.Load(path)), "1");
    OverwriteInPlace(path, "[S]\nk=22\n");
    TempDirectory::AgeFile(path);
    EXPECT_EQ(ValueOf(cache.Load(path)), "22");
}

TEST_F(ProfileCacheTest, AModificationTimeChangeOfOneNanosecondIsSeen) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    ASSERT_EQ(ValueOf(cache.Load(path)), "1");
    OverwriteInPlace(path, "[S]\nk=2\n");
    TempDirectory::AgeFile(path, 1);
    EXPECT_EQ(ValueOf(cache.Load(path)), "2");
}

TEST_F(ProfileCacheTest, AReplacedFileIsSeenWithTheSameSizeAndTime) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    ASSERT_EQ(ValueOf(cache.Load(path)), "1");
    const std::string other = dir.Write("b.ini", "[S]\nk=2\n");
    std::filesystem::rename(other, path);
    EXPECT_EQ(ValueOf(cache.Load(path)), "2");
}

TEST_F(ProfileCacheTest, EditsWithinOneTimestampTickAreSeen) {
    // Every version gets the same size and the same modification time, as
    // edits within one tick of a coarse file system clock do.
    const std::string path = dir.PathOf("a.ini");
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const timespec times[2] = {now, now};
    for (char digit = '0'; digit <= '9'; ++digit) {
        OverwriteInPlace(path, std::string("[S]\nk=") + digit + "\n");
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        EXPECT_EQ(ValueOf(cache.Load(path)), std::string(1, digit));
    }
}

TEST_F(ProfileCacheTest, AFreshFileIsTrustedOnceItHasSettled) {
    const std::string path = dir.PathOf("a.ini");
    OverwriteInPlace(path, "[S]\nk=1\n");
    cache.Load(path);
    cache.Load(path);
    EXPECT_EQ(cache.ReadCount(), 2u) << "a file modified just now is read again";
    std::this_thread::sleep_for(TProfileCache::RacyInterval + std::chrono::milliseconds(50));
    cache.Load(path);
    const uint64_t settled = cache.ReadCount();
    cache.Load(path);
    EXPECT_EQ(cache.ReadCount(), settled);
}

TEST_F(ProfileCacheTest, MissingAndDeletedFiles) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    EXPECT_EQ(cache.Load(dir.PathOf("none.ini")).State, TProfileCache::FileState::Missing);
    ASSERT_EQ(ValueOf(cache.Load(path)), "1");
    std::filesystem::remove(path);
    const TProfileCache::Snapshot gone = cache.Load(path);
    EXPECT_EQ(gone.State, TProfileCache::FileState::Missing);
    EXPECT_EQ(ValueOf(gone), "<none>");
}

TEST_F(ProfileCacheTest, ADirectoryIsUnreadable) {
    std::filesystem::create_directory(dir.PathOf("sub"));
    EXPECT_EQ(cache.Load(dir.PathOf("sub")).State, TProfileCache::FileState::Unreadable);
    EXPECT_FALSE(cache.Update(dir.PathOf("sub"), true, [](TProfileText&) { return true; }));
}

// Opening a FIFO for reading would wait for a writer: start-up would hang.
TEST_F(ProfileCacheTest, AFifoOrOtherSpecialFileIsUnreadableAtOnce) {
    ASSERT_EQ(mkfifo(dir.PathOf("fifo").c_str(), 0600), 0);
    const TProfileCache::Snapshot snapshot = cache.Load(dir.PathOf("fifo"));
    EXPECT_EQ(snapshot.State, TProfileCache::FileState::Unreadable);
    EXPECT_EQ(snapshot.Error, EINVAL);
    EXPECT_EQ(cache.Load("/dev/null").State, TProfileCache::FileState::Unreadable);
}

TEST_F(ProfileCacheTest, UpdateWritesAndServesTheNewContents) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    ASSERT_TRUE(cache.Update(path, false, [](TProfileText& text) {
        text.SetValue("S", "k", "2");
        return true;
    }));
    EXPECT_EQ(ValueOf(cache.Load(path)), "2");
    EXPECT_EQ(dir.Read("a.ini"), "[S]\r\nk=2\r\n");
}

TEST_F(ProfileCacheTest, UpdateOfAMissingFileOnlyWhenAsked) {
    const auto edit = [](TProfileText& text) {
        text.SetValue("S", "k", "1");
        return true;
    };
    EXPECT_FALSE(cache.Update(dir.PathOf("a.ini"), false, edit));
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("a.ini")));
    EXPECT_TRUE(cache.Update(dir.PathOf("a.ini"), true, edit));
    EXPECT_EQ(dir.Read("a.ini"), "[S]\r\nk=1\r\n");
}

TEST_F(ProfileCacheTest, RejectedEditWritesNothing) {
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n");
    EXPECT_FALSE(cache.Update(path, false, [](TProfileText& text) {
        text.SetValue("S", "k", "2");
        return false;
    }));
    EXPECT_EQ(dir.Read("a.ini"), "[S]\nk=1\n");
    EXPECT_EQ(ValueOf(cache.Load(path)), "1");
}

}  // namespace
}  // namespace quenmark
