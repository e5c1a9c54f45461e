#include "app/module_index.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "app/settings_test_directory.h"
#include "support/file_bytes.h"

namespace quenmark {
namespace {

using test::TempDirectory;

TModuleIndexEntry SampleEntry() {
    TModuleIndexEntry entry;
    entry.Key = {{"/opt/q/with space.vmx", 1234, 1700000000, 999999999}, 4242};
    TModuleOffer& offer = entry.Offer;
    offer.Loads = true;
    offer.FailureCode = "CVM104";
    offer.FailureReason = "said\tthe\\system\n";
    offer.Info = {"Sample", "A comment\r\nover lines", "Func&Const, Tokenizer", "1A", "A. Author", "(c)"};
    offer.Constants = {{"ANSWER", "the answer", Variant(int32_t{-42})},
                       {"TINY", "smallest", Variant(std::numeric_limits<double>::denorm_min())},
                       {"THIRD", "not exact in decimal", Variant(1.0 / 3.0)},
                       {"TEXT", "tab\there", Variant(std::string("a\tb\\n"))},
                       {"EMPTY", "", Variant(std::string())}};
    offer.Functions = {{"TWICE", "TWICE(x)", 1}, {"NONE", "", 0}};
    offer.FunctionsEntered = true;
    offer.OutputConnected = false;
    offer.Tokenizer = true;
    offer.DeclaresTokenStarts = true;
    offer.TokenStarts = "*mM\\";
    return entry;
}

TEST(ModuleIndexTest, AnEntryReadsBackAsItWasWritten) {
    TModuleIndexEntry rejected;
    rejected.Key = {{"/l/broken.vmx", 10, 2, 3}, 5};
    rejected.Offer.FailureCode = "CVM100";
    TModuleIndexEntry silent = SampleEntry();
    silent.Offer.DeclaresTokenStarts = false;
    silent.Offer.TokenStarts.clear();
    const std::vector<TModuleIndexEntry> entries{SampleEntry(), rejected, silent};
    EXPECT_EQ(ParseModuleIndex(ModuleIndexText(entries)), entries);
}

TEST(ModuleIndexTest, CrashRecordsAndBrokenEntriesAreSkipped) {
    const std::string crash = QuarantineRecordLine({"/l/crash.vmx", 1, 2, 3});
    const std::string good = ModuleIndexText({SampleEntry()});
    std::string cut = good.substr(0, good.find("function "));  // ends before its "end" line
    std::string bad = good;
    bad.replace(bad.find("constant ANSWER"), 15, "constant ANSWER\tx\tq1");
    const std::vector<TModuleIndexEntry> read = ParseModuleIndex(crash + cut + crash + bad + good);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], SampleEntry());
}

TEST(ModuleIndexTest, WritingKeepsTheCrashRecordsAndFindsByTheWholeKey) {
    TempDirectory directory;
    const std::string folder = directory.File("cache/quenmark/");
    TModuleIndex first(folder);
    ASSERT_TRUE(first.Writable());
    const std::string crash = QuarantineRecordLine({"/l/crash.vmx", 1, 2, 3});
    {
        std::ofstream(folder + QuarantineFileName, std::ios::app) << crash;
    }
    first.Keep(SampleEntry().Key, std::make_shared<const TModuleOffer>(SampleEntry().Offer));
    EXPECT_TRUE(first.Changed());
    ASSERT_TRUE(first.Write());
    EXPECT_EQ(FileBytes(folder + QuarantineFileName).substr(0, crash.size()), crash);
    EXPECT_TRUE(TModuleQuarantine(folder).Holds({"/l/crash.vmx", 1, 2, 3}));

    TModuleIndex second(folder);
    ASSERT_NE(second.Find(SampleEntry().Key), nullptr);
    EXPECT_EQ(*second.Find(SampleEntry().Key), SampleEntry().Offer);
    TModuleIndexKey otherInode = SampleEntry().Key;
    otherInode.Inode += 1;
    EXPECT_EQ(second.Find(otherInode), nullptr);
    second.Keep(SampleEntry().Key, second.Find(SampleEntry().Key));
    EXPECT_FALSE(second.Changed());
    // The same entry rebuilt counts as a change: the file is written again.
    TModuleIndex third(folder);
    third.Keep(SampleEntry().Key, std::make_shared<const TModuleOffer>(SampleEntry().Offer));
    EXPECT_TRUE(third.Changed());
}

TEST(ModuleIndexTest, AFolderThatCannotBeMadeIsNotWritable) {
    TempDirectory directory;
    std::ofstream(directory.File("plain")) << "x";
    EXPECT_FALSE(TModuleIndex(directory.File("plain/quenmark/")).Writable());
    EXPECT_FALSE(TModuleIndex("").Writable());
}

}  // namespace
}  // namespace quenmark
