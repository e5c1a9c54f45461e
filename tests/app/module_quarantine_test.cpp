#include "app/module_quarantine.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/file_bytes.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;

class ModuleQuarantineTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quenmark-quarantine-XXXXXX";
        root_ = mkdtemp(pattern);
        cache_ = root_ + "/cache/quenmark/";
        module_ = root_ + "/crash.vmx";
        std::ofstream(module_, std::ios::binary) << "module bytes";
    }
    void TearDown() override {
        TModuleQuarantine::Disarm();
        fs::remove_all(root_);
    }
    mode_t ModeOf(const std::string& path) const {
        struct stat status {};
        stat(path.c_str(), &status);
        return status.st_mode & 07777;
    }

    std::string root_;
    std::string cache_;
    std::string module_;
};

TEST_F(ModuleQuarantineTest, ARecordReadsBackAsTheSameStamp) {
    const TModuleFileStamp stamp{"/opt/a b/odd name.vmx", 4096, 1700000000, 123456789};
    const std::string line = QuarantineRecordLine(stamp);
    EXPECT_EQ(line, "4096 1700000000 123456789 /opt/a b/odd name.vmx\n");
    EXPECT_EQ(ParseQuarantineRecord(line), stamp);
}

TEST_F(ModuleQuarantineTest, LinesThatAreNoRecordAreIgnored) {
    for (const char* line : {"", "12 34 56", "12 34 56 relative.vmx", "x 34 56 /a.vmx", "12  34 56 /a.vmx",
                             "12 34 /a.vmx", "99999999999999999999 1 1 /a.vmx"})
        EXPECT_FALSE(ParseQuarantineRecord(line).has_value()) << '"' << line << '"';
}

TEST_F(ModuleQuarantineTest, TheFolderIsTheUsersCacheFolder) {
    EXPECT_EQ(QuarantineDirectory("/home/ann", "/var/cache/ann"), "/var/cache/ann/quenmark/");
    EXPECT_EQ(QuarantineDirectory("/home/ann", "/var/cache/ann/"), "/var/cache/ann/quenmark/");
    EXPECT_EQ(QuarantineDirectory("/home/ann", "relative"), "/home/ann/.cache/quenmark/");
    EXPECT_EQ(QuarantineDirectory("/home/ann", ""), "/home/ann/.cache/quenmark/");
    EXPECT_EQ(QuarantineDirectory("", ""), "");
}

TEST_F(ModuleQuarantineTest, TheArmedRecordIsWrittenPrivatelyAndHoldsTheFileUntilItChanges) {
    const TModuleFileStamp stamp = *StampOfFile(module_);
    EXPECT_FALSE(WriteArmedQuarantineRecord()) << "nothing is armed";
    {
        const TModuleQuarantine quarantine(cache_);
        EXPECT_FALSE(quarantine.Holds(stamp));
        ASSERT_TRUE(quarantine.Arm(stamp));
    }
    ASSERT_TRUE(WriteArmedQuarantineRecord());
    EXPECT_EQ(ModeOf(root_ + "/cache"), 0700u);
    EXPECT_EQ(ModeOf(cache_), 0700u);
    EXPECT_EQ(ModeOf(cache_ + QuarantineFileName), 0600u);
    EXPECT_EQ(FileBytes(cache_ + QuarantineFileName), QuarantineRecordLine(stamp));
    EXPECT_TRUE(TModuleQuarantine(cache_).Holds(stamp));

    // Another size, another modification time: tried again.
    TModuleFileStamp changed = stamp;
    changed.Size += 1;
    EXPECT_FALSE(TModuleQuarantine(cache_).Holds(changed));
    changed = stamp;
    changed.ModifiedNanoseconds += 1;
    EXPECT_FALSE(TModuleQuarantine(cache_).Holds(changed));
}

TEST_F(ModuleQuarantineTest, RecordsAreAppendedAndADisarmedLoadWritesNone) {
    const TModuleQuarantine quarantine(cache_);
    TModuleFileStamp first = *StampOfFile(module_);
    TModuleFileStamp second = first;
    second.Path = root_ + "/other.vmx";
    ASSERT_TRUE(quarantine.Arm(first));
    ASSERT_TRUE(WriteArmedQuarantineRecord());
    ASSERT_TRUE(quarantine.Arm(second));
    ASSERT_TRUE(WriteArmedQuarantineRecord());
    TModuleQuarantine::Disarm();
    EXPECT_FALSE(WriteArmedQuarantineRecord());
    EXPECT_EQ(FileBytes(cache_ + QuarantineFileName), QuarantineRecordLine(first) + QuarantineRecordLine(second));
    const TModuleQuarantine reread(cache_);
    EXPECT_TRUE(reread.Holds(first));
    EXPECT_TRUE(reread.Holds(second));
}

TEST_F(ModuleQuarantineTest, APathThatCannotBeOneRecordIsNotArmed) {
    const TModuleQuarantine quarantine(cache_);
    TModuleFileStamp stamp = *StampOfFile(module_);
    stamp.Path = root_ + "/two\nlines.vmx";
    EXPECT_FALSE(quarantine.Arm(stamp));
    stamp.Path = root_ + "/" + std::string(5000, 'x');
    EXPECT_FALSE(quarantine.Arm(stamp));
    EXPECT_FALSE(WriteArmedQuarantineRecord());
    EXPECT_FALSE(TModuleQuarantine("").Arm(*StampOfFile(module_)));
}

}  // namespace
}  // namespace quenmark
