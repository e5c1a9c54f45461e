#include "app/history_section.h"

#include <gtest/gtest.h>

#include "app/saved_variables.h"
#include "app/settings.h"
#include "base/exception.h"
#include "settings_test_directory.h"
#include "support/section_writers.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::SettingsText;
using test::TempDirectory;
using test::WriteTextFile;

TEST(HistoryLineTest, EncodesEntries) {
    EXPECT_EQ(EncodeHistoryLine("1+2"), ";03000000312B32");
    EXPECT_EQ(EncodeHistoryLine(""), ";00000000");
    EXPECT_EQ(EncodeHistoryLine("@FORMAT \"0.00\""), ";0E00000040464F524D41542022302E303022");
}

TEST(HistoryLineTest, DecodeDropsTheFirstCharacterWhateverItIs) {
    const struct {
        const char* Behaviour;
        const char* Line;
        const char* Entry;
    } rows[] = {
        {"example entry", ";03000000312B32", "1+2"},
        {"empty entry", ";00000000", ""},
        {"any first character", "X03000000312B32", "1+2"},
        {"digits after the entry are ignored", ";0100000041FF", "A"},
    };
    for (const auto& row : rows) EXPECT_EQ(DecodeHistoryLine(row.Line), row.Entry) << row.Behaviour;
}

TEST(HistoryLineTest, DamagedLinesAreRejected) {
    const struct {
        const char* Behaviour;
        const char* Line;
    } rows[] = {
        {"line without the leading semicolon loses its first digit", "03000000312B32"},
        {"empty line", ""},
        {"only the semicolon", ";"},
        {"small hex letters", ";03000000312b32"},
        {"too short for its length", ";04000000312B32"},
    };
    for (const auto& row : rows) EXPECT_THROW(DecodeHistoryLine(row.Line), Exception) << row.Behaviour;
}

class HistorySectionTest : public ::testing::Test {
protected:
    std::string FileName() const { return FDir.File("history.cfg"); }

    std::vector<std::string> Reloaded() const {
        std::vector<std::string> history;
        ReadHistorySection(TSettings(FileName()), history);
        return history;
    }

    TempDirectory FDir;
};

TEST_F(HistorySectionTest, EntriesRoundTripOldestFirst) {
    TSettings settings(FileName());
    ASSERT_TRUE(settings.Save());
    const std::vector<std::string> history = {"1+2", "", "x = \"[a]=b\"", "  spaced  ", "\xC3\xA9t\xC3\xA9"};
    ASSERT_TRUE(WriteHistorySection(settings, history));
    EXPECT_EQ(Reloaded(), history);
    EXPECT_NE(ReadTextFile(FileName()).find("[History]\r\n;03000000312B32\r\n;00000000\r\n"), std::string::npos);
}

TEST_F(HistorySectionTest, EveryEntryLoadsWhateverMaxHistorySays) {
    std::string body = "[Others]\r\nMaxHistory=50\r\n[History]\r\n";
    for (int i = 0; i < 80; ++i) body += EncodeHistoryLine(std::to_string(i)) + "\r\n";
    WriteTextFile(FileName(), SettingsText(body));
    TSettings settings(FileName());
    settings.Load();
    ASSERT_EQ(settings.MaxHistory, 50);
    const std::vector<std::string> history = Reloaded();
    ASSERT_EQ(history.size(), 80u);
    EXPECT_EQ(history.front(), "0");
    EXPECT_EQ(history.back(), "79");
}

TEST_F(HistorySectionTest, EntriesAreAppendedToTheCallersList) {
    WriteTextFile(FileName(), SettingsText("[History]\r\n;0100000031\r\n"));
    std::vector<std::string> history = {"typed before"};
    ReadHistorySection(TSettings(FileName()), history);
    EXPECT_EQ(history, (std::vector<std::string>{"typed before", "1"}));
}

TEST_F(HistorySectionTest, DamagedLinesAreSkippedOneByOne) {
    WriteTextFile(FileName(), SettingsText("[History]\r\n"
                                           ";0100000031\r\n"
                                           "0100000032\r\n"
                                           ";0100000033\r\n"
                                           ";010000003g\r\n"
                                           "\r\n"
                                           ";00000000\r\n"
                                           ";0500000035\r\n"
                                           ";0100000036\r\n"
                                           "[Variables]\r\n"
                                           ";0100000037\r\n"));
    EXPECT_EQ(Reloaded(), (std::vector<std::string>{"1", "3", "", "6"}));
}

TEST_F(HistorySectionTest, InvalidHeaderLoadsNothing) {
    WriteTextFile(FileName(), "[Information]\r\nPurpose=quenmark version 1.1 user settings file\r\n"
                              "[History]\r\n;0100000031\r\n");
    EXPECT_TRUE(Reloaded().empty());
}

TEST_F(HistorySectionTest, SaveHistoryOffEmptiesTheSection) {
    TSettings settings(FileName());
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(WriteHistorySection(settings, {"1", "2"}));
    settings.SaveHistory = false;
    ASSERT_TRUE(WriteHistorySection(settings, {"1", "2"}));
    EXPECT_TRUE(ReadTextFile(FileName()).ends_with("[History]\r\n"));
    EXPECT_TRUE(Reloaded().empty());
}

TEST_F(HistorySectionTest, ShutDownSavesGiveSectionsInOrder) {
    const TSettings settings(FileName());
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    ASSERT_TRUE(WriteHistorySection(settings, {"x = 5"}));
    const std::string text = ReadTextFile(FileName());
    EXPECT_TRUE(text.starts_with("[Information]\r\n"));
    size_t previous = 0;
    for (const char* section : {"[Quen]", "[UniConv]", "[Others]", "[Variables]", "[History]"}) {
        const size_t at = text.find(std::string("\r\n") + section + "\r\n");
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GT(at, previous) << section << " follows the sections before it";
        previous = at;
    }

    // A second shut-down replaces the sections whole instead of adding to them.
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    ASSERT_TRUE(WriteHistorySection(settings, {"x = 5"}));
    EXPECT_EQ(ReadTextFile(FileName()), text);
}

}  // namespace
}  // namespace quenmark
