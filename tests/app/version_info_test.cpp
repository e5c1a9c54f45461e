#include "app/version_info.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/exception.h"
#include "base/program_version.h"

namespace quenmark {
namespace {

// A resource with one translation and the given strings.
TVersionResource ResourceWith(std::vector<std::pair<std::string, std::string>> values, uint32_t flags = 0,
                              uint32_t translation = 0x04E40409u) {
    TVersionResource resource;
    TFixedFileInfo fixed;
    fixed.FileFlags = flags;
    resource.FixedInfo = fixed;
    resource.Translations = {translation};
    resource.StringTables = {{"040904E4", std::move(values)}};
    return resource;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVerInfo& error) {
        return error.Message();
    }
    return "(no EVerInfo)";
}

TEST(ProgramVersionTest, TheRunningProgramHasTheBuiltInResource) {
    const TVerInfo info(ProgramExecutablePath());
    EXPECT_EQ(info.Language(), "0409");
    EXPECT_EQ(info.Codepage(), "04E4");
    EXPECT_EQ(info.FileVersion(), FileVersionText);
    EXPECT_FALSE(info.LegalCopyright().empty());
    EXPECT_EQ(info.FileFlags(), 0u);
    EXPECT_FALSE(info.IsDebugBuild());
    EXPECT_FALSE(info.IsPreRelease());
}

struct StringRow {
    const char* name;
    const char* key;
    const char* value;
};

class ProgramStringTest : public ::testing::TestWithParam<StringRow> {};

TEST_P(ProgramStringTest, HoldsTheFixedString) {
    const TVerInfo info(ProgramExecutablePath());
    EXPECT_EQ(info.QueryValue(std::string("\\StringFileInfo\\040904E4\\") + GetParam().key), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ProgramStringTest,
    ::testing::Values(StringRow{"FileVersion", "FileVersion", FileVersionText},
                      StringRow{"ProductVersion", "ProductVersion", ProductVersionText},
                      StringRow{"ProductName", "ProductName", "Quenmark"},
                      StringRow{"InternalName", "InternalName", "Quenmark"},
                      StringRow{"OriginalFilename", "OriginalFilename", "Quenmark.exe"},
                      StringRow{"FileDescription", "FileDescription", "Quenmark, the Expression Calculator."},
                      StringRow{"NamesIgnoreLetterCase", "fileversion", FileVersionText}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProgramVersionTest, FixedPartCarriesTheProgramVersion) {
    const TFixedFileInfo& fixed = *ProgramVersionResource().FixedInfo;
    EXPECT_EQ(fixed.FileVersionMS, (uint32_t{VersionMajor} << 16) | VersionMinor);
    EXPECT_EQ(fixed.FileVersionLS, (uint32_t{VersionPatch} << 16) | VersionBuild);
    EXPECT_EQ(fixed.ProductVersionMS, fixed.FileVersionMS);
    EXPECT_EQ(fixed.ProductVersionLS, fixed.FileVersionLS);
}

TEST(VerInfoErrorTest, AFileWithoutResourceFails) {
    EXPECT_EQ(MessageOf([] { TVerInfo info("/bin/sh"); }), "バージョン情報が取得できません.");
    EXPECT_EQ(MessageOf([] { TVerInfo info("/no/such/file"); }), "バージョン情報が取得できません.");
    EXPECT_EQ(MessageOf([] { TVerInfo info(""); }), "バージョン情報が取得できません.");
}

TEST(VerInfoErrorTest, AnEmptyResourceOrOneWithoutTranslationFails) {
    EXPECT_EQ(MessageOf([] { TVerInfo info(TVersionResource{}); }), TVerInfo::NoVersionInfoMessage);
    TVersionResource noTranslation = ResourceWith({{"FileVersion", "1"}});
    noTranslation.Translations.clear();
    EXPECT_EQ(MessageOf([&] { TVerInfo info(noTranslation); }), TVerInfo::NoVersionInfoMessage);
}

TEST(VerInfoErrorTest, AMissingStringOrTableFails) {
    const TVerInfo info(ResourceWith({{"FileVersion", "2.0"}}));
    EXPECT_EQ(MessageOf([&] { info.LegalCopyright(); }), TVerInfo::NoVersionInfoMessage);
    EXPECT_EQ(MessageOf([&] { info.QueryValue("\\StringFileInfo\\041104B0\\FileVersion"); }),
              TVerInfo::NoVersionInfoMessage);
    EXPECT_EQ(MessageOf([&] { info.QueryValue("\\VarFileInfo\\Translation"); }), TVerInfo::NoVersionInfoMessage);
}

TEST(VerInfoErrorTest, AnEmptyRootBlockFailsOnlyForTheFlags) {
    TVersionResource resource = ResourceWith({{"FileVersion", "2.0"}});
    resource.FixedInfo.reset();
    const TVerInfo info(resource);
    EXPECT_EQ(info.FileVersion(), "2.0");
    EXPECT_EQ(MessageOf([&] { info.FileFlags(); }), "ルートブロックが取得できません.");
    EXPECT_EQ(MessageOf([&] { info.IsDebugBuild(); }), TVerInfo::NoRootBlockMessage);
}

TEST(VerInfoTest, TranslationBecomesFourCapitalHexDigitsEach) {
    const TVerInfo info(ResourceWith({}, 0, 0x04B00411u));
    EXPECT_EQ(info.Language(), "0411");
    EXPECT_EQ(info.Codepage(), "04B0");
}

TEST(VerInfoTest, StringsOfTheFirstTranslationAreRead) {
    TVersionResource resource = ResourceWith({}, 0, 0x04B00411u);
    resource.Translations.push_back(0x04E40409u);
    resource.StringTables.push_back({"041104B0", {{"FileVersion", "3.0"}, {"LegalCopyright", "(C) X"}}});
    const TVerInfo info(resource);
    EXPECT_EQ(info.FileVersion(), "3.0");
    EXPECT_EQ(info.LegalCopyright(), "(C) X");
}

struct ValueRow {
    const char* name;
    std::string stored;
    const char* read;
};

class VerInfoValueTest : public ::testing::TestWithParam<ValueRow> {};

TEST_P(VerInfoValueTest, IsCutAtZeroAndTrimmed) {
    const TVerInfo info(ResourceWith({{"FileVersion", GetParam().stored}}));
    EXPECT_EQ(info.FileVersion(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Values, VerInfoValueTest,
    ::testing::Values(ValueRow{"Plain", "1.2.3.4", "1.2.3.4"},
                      ValueRow{"TrailingBlanks", "1.2.3.4   ", "1.2.3.4"},
                      ValueRow{"LeadingBlanksAndTabs", " \t1.2", "1.2"},
                      ValueRow{"ControlCharactersAtTheEnds", "\r\n1.2\x01\x7F", "1.2"},
                      ValueRow{"InnerBlanksStay", " 1 2 ", "1 2"},
                      ValueRow{"CutAtTheFirstZero", std::string("1.2\0garbage", 11), "1.2"},
                      ValueRow{"Empty", "", ""},
                      ValueRow{"OnlyBlanks", "   ", ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct FlagRow {
    const char* name;
    uint32_t flags;
    bool debug;
    bool preRelease;
};

class VerInfoFlagTest : public ::testing::TestWithParam<FlagRow> {};

TEST_P(VerInfoFlagTest, DebugIsBitZeroPreReleaseBitOne) {
    const TVerInfo info(ResourceWith({}, GetParam().flags));
    EXPECT_EQ(info.FileFlags(), GetParam().flags);
    EXPECT_EQ(info.IsDebugBuild(), GetParam().debug);
    EXPECT_EQ(info.IsPreRelease(), GetParam().preRelease);
}

INSTANTIATE_TEST_SUITE_P(Flags, VerInfoFlagTest,
                         ::testing::Values(FlagRow{"None", 0x0, false, false}, FlagRow{"Debug", 0x1, true, false},
                                           FlagRow{"PreRelease", 0x2, false, true},
                                           FlagRow{"Both", 0x3, true, true},
                                           FlagRow{"OtherBitsOnly", 0x3C, false, false}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmark
