#include "app/saved_variables.h"

#include <gtest/gtest.h>

#include <bit>

#include "app/settings.h"
#include "base/exception.h"
#include "base/names.h"
#include "settings_test_directory.h"
#include "support/section_writers.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::SettingsText;
using test::TempDirectory;
using test::WriteTextFile;

TEST(VariableLineTest, EncodesNameAttributesAndValue) {
    const struct {
        const char* Behaviour;
        TVMVariable Variable;
        const char* Line;
    } rows[] = {
        {"unprotected integer", TVMVariable("x", Variant(int32_t{5}), false, false),
         ";01000000780300000001000005000000"},
        {"string", TVMVariable("s", Variant("abc"), false, false), ";01000000730300000003000003000000616263"},
        {"protected real", TVMVariable("Pi2", Variant(1.0), false, true),
         ";0300000050693203000000020001000000000000F03F"},
        {"name keeps its spelling", TVMVariable("MyVar", Variant(int32_t{-1}), false, false),
         ";050000004D79566172030000000100" "00FFFFFFFF"},
        {"empty string", TVMVariable("e", Variant(""), false, false), ";0100000065030000000300" "0000000000"},
    };
    for (const auto& row : rows) EXPECT_EQ(EncodeVariableLine(row.Variable), row.Line) << row.Behaviour;
}

TEST(VariableLineTest, UnassignedValueCannotBeEncoded) {
    const TVMVariable variable("u", Variant(), false, false);
    EXPECT_THROW(EncodeVariableLine(variable), Exception);
}

struct DecodeRow {
    const char* Behaviour;
    std::string Line;
    const char* Name;
    Variant Value;
    bool IsConstant;
    bool IsProtected;
};

class VariableLineDecodeTest : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(VariableLineDecodeTest, DecodesTheVariable) {
    const DecodeRow& row = GetParam();
    const std::unique_ptr<TVMVariable> variable = DecodeVariableLine(row.Line);
    ASSERT_TRUE(variable);
    EXPECT_EQ(variable->Name, row.Name);
    EXPECT_EQ(variable->UpperName, UpperCase(row.Name));
    EXPECT_EQ(variable->Value, row.Value);
    EXPECT_EQ(variable->IsConstant, row.IsConstant);
    EXPECT_EQ(variable->IsProtected, row.IsProtected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VariableLineDecodeTest,
    ::testing::Values(
        DecodeRow{"IntegerExample", ";01000000780300000001000005000000", "x", Variant(int32_t{5}), false, false},
        DecodeRow{"StringExample", ";01000000730300000003000003000000616263", "s", Variant("abc"), false, false},
        DecodeRow{"ProtectedFlag", ";01000000780300000001000105000000", "x", Variant(int32_t{5}), false, true},
        DecodeRow{"ConstantFlag", ";01000000780300000001010105000000", "x", Variant(int32_t{5}), true, true},
        DecodeRow{"TwoAttributesLeaveProtectionOff", ";010000007802000000010105000000", "x", Variant(int32_t{5}),
                  true, false},
        DecodeRow{"AttributesBeyondThreeReadNothing", ";01000000780500000001000105000000", "x",
                  Variant(int32_t{5}), false, true},
        DecodeRow{"DigitsAfterTheValueAreIgnored", ";01000000780300000001000005000000FFZZ", "x",
                  Variant(int32_t{5}), false, false},
        DecodeRow{"NegativeNameLengthGivesEmptyName", ";FFFFFFFF0300000001000007000000", "", Variant(int32_t{7}),
                  false, false},
        DecodeRow{"LongStringIsRestoredWhole",
                  [] {
                      std::string line = ";010000007303000000030000D0070000";
                      for (int i = 0; i < 2000; ++i) line += "41";
                      return line;
                  }(),
                  "s", Variant(std::string(2000, 'A')), false, false}),
    [](const auto& row) { return std::string(row.param.Behaviour); });

class VariableLineDamageTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(VariableLineDamageTest, IsRejected) {
    EXPECT_THROW(DecodeVariableLine(GetParam().second), Exception) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VariableLineDamageTest,
    ::testing::Values(std::pair{"EmptyLine", ""},
                      std::pair{"OnlyTheSemicolon", ";"},
                      std::pair{"NoLeadingSemicolon", "01000000780300000001000005000000"},
                      std::pair{"SmallHexLetterInName", ";010000007a0300000001000005000000"},
                      std::pair{"SmallLetterInValue", ";0100000078030000000100000a000000"},
                      std::pair{"NonHexCharacter", ";01000000780300000001000005G00000"},
                      std::pair{"TooShortForTheNameLength", ";05000000787878"},
                      std::pair{"TooShortForTheValue", ";010000007803000000010000050000"},
                      std::pair{"TooShortForTheStringValue", ";0100000073030000000300000A000000616263"},
                      std::pair{"TypeFour", ";01000000780300000004000005000000"},
                      std::pair{"TypeZero", ";01000000780300000000000005000000"},
                      std::pair{"NoAttributes", ";01000000780000000005000000"}),
    [](const auto& row) { return std::string(row.param.first); });

// ---- the section -------------------------------------------------------------

class SavedVariablesTest : public ::testing::Test {
protected:
    std::string FileName() const { return FDir.File("vars.cfg"); }

    TSettings SavedSettings() {
        TSettings settings(FileName());
        EXPECT_TRUE(settings.Save());
        return settings;
    }

    TVMVariableList Reloaded() {
        TVMVariableList variables;
        ReadVariablesSection(TSettings(FileName()), variables);
        return variables;
    }

    TempDirectory FDir;
};

TEST_F(SavedVariablesTest, VariablesRoundTripWithKindAndProtection) {
    const TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    variables.Add("Real", Variant(0.1 + 0.2), false, true);
    variables.Add("s", Variant(std::string("h\xC3\xA9llo [x] = ;")));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));

    const TVMVariableList loaded = Reloaded();
    ASSERT_EQ(loaded.Count(), 3u);
    EXPECT_EQ(loaded[0].Name, "x");
    EXPECT_EQ(loaded[0].Value, Variant(int32_t{5}));
    EXPECT_FALSE(loaded[0].IsProtected);
    EXPECT_FALSE(loaded[0].IsConstant);
    EXPECT_EQ(loaded[1].Name, "Real");
    ASSERT_TRUE(loaded[1].Value.IsReal());
    EXPECT_EQ(std::bit_cast<uint64_t>(loaded[1].Value.AsReal()), std::bit_cast<uint64_t>(0.1 + 0.2));
    EXPECT_TRUE(loaded[1].IsProtected);
    EXPECT_EQ(loaded[2].Value, Variant(std::string("h\xC3\xA9llo [x] = ;")));
}

TEST_F(SavedVariablesTest, ExampleLineIsWrittenIntoTheSection) {
    const TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    EXPECT_TRUE(ReadTextFile(FileName()).ends_with("[Variables]\r\n;01000000780300000001000005000000\r\n"));
}

TEST_F(SavedVariablesTest, ConstantsAreNotSaved) {
    const TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.RegisterConstant("PI", Variant(3.14));
    variables.Add("y", Variant(int32_t{2}));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    const TVMVariableList loaded = Reloaded();
    ASSERT_EQ(loaded.Count(), 1u);
    EXPECT_EQ(loaded[0].Name, "y");
}

TEST_F(SavedVariablesTest, LoadedVariablesFollowExistingOnes) {
    const TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.Add("a", Variant(int32_t{1}));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    TVMVariableList table;
    table.RegisterConstant("E", Variant(2.718));
    ReadVariablesSection(settings, table);
    ASSERT_EQ(table.Count(), 2u);
    EXPECT_EQ(table[0].Name, "E");
    EXPECT_EQ(table[1].Name, "a");
}

TEST_F(SavedVariablesTest, SaveVariablesOffEmptiesTheSection) {
    TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    settings.SaveVariables = false;
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    EXPECT_TRUE(ReadTextFile(FileName()).ends_with("[Variables]\r\n"));
    EXPECT_EQ(Reloaded().Count(), 0u);
}

TEST_F(SavedVariablesTest, UnsavableValueLeavesTheSectionAsItWas) {
    const TSettings settings = SavedSettings();
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    ASSERT_TRUE(WriteVariablesSection(settings, variables));
    const std::string before = ReadTextFile(FileName());
    variables.Add("broken", Variant());
    variables.Add("z", Variant(int32_t{9}));
    EXPECT_FALSE(WriteVariablesSection(settings, variables));
    EXPECT_EQ(ReadTextFile(FileName()), before);
}

TEST_F(SavedVariablesTest, DamagedLinesAreSkippedOneByOne) {
    WriteTextFile(FileName(), SettingsText("[Variables]\r\n"
                                           ";01000000610300000001000001000000\r\n"
                                           ";01000000620300000001000002000000zz\r\n"
                                           ";0100000063030000000100000a000000\r\n"
                                           "\r\n"
                                           "01000000640300000001000004000000\r\n"
                                           ";01000000650300000009000005000000\r\n"
                                           ";010000006603000000010000\r\n"
                                           ";01000000670300000001000007000000\r\n"
                                           "[History]\r\n"
                                           ";01000000680300000001000008000000\r\n"));
    const TVMVariableList loaded = Reloaded();
    ASSERT_EQ(loaded.Count(), 3u);
    EXPECT_EQ(loaded[0].Name, "a");
    EXPECT_EQ(loaded[1].Name, "b");
    EXPECT_EQ(loaded[2].Name, "g");
    EXPECT_EQ(loaded[2].Value, Variant(int32_t{7}));
}

TEST_F(SavedVariablesTest, TwoLinesOfOneNameBothLoadAndBothSaveAgain) {
    WriteTextFile(FileName(), SettingsText("[Variables]\r\n"
                                           ";01000000780300000001000001000000\r\n"
                                           ";01000000580300000001000002000000\r\n"));
    const TSettings settings(FileName());
    TVMVariableList loaded;
    ReadVariablesSection(settings, loaded);
    ASSERT_EQ(loaded.Count(), 2u);
    EXPECT_EQ(loaded.Find("x")->Value, Variant(int32_t{1})) << "lookups find the first";
    ASSERT_TRUE(WriteVariablesSection(settings, loaded));
    EXPECT_EQ(Reloaded().Count(), 2u);
}

TEST_F(SavedVariablesTest, InvalidHeaderLoadsNothing) {
    WriteTextFile(FileName(), "[Information]\r\nPurpose=Something Else\r\n"
                              "[Variables]\r\n;01000000780300000001000005000000\r\n");
    EXPECT_EQ(Reloaded().Count(), 0u);
}

TEST_F(SavedVariablesTest, MissingFileLoadsNothingAndIsNotCreated) {
    const TSettings settings(FileName());
    TVMVariableList variables;
    variables.Add("x", Variant(int32_t{5}));
    EXPECT_FALSE(WriteVariablesSection(settings, variables));
    EXPECT_EQ(Reloaded().Count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(FileName()));
}

}  // namespace
}  // namespace quenmark
