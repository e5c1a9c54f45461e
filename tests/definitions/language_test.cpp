#include "definitions/language.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "base/context.h"
#include "definitions/language_list.h"
#include "definitions/profile.h"
#include "definitions/temp_directory.h"
#include "base/exception.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using testing::TempDirectory;

const std::string Header = "[Information]\nPurpose=Quenmark Version 1.1 Language Definition File\n";

std::string InvalidLanguageError(const std::string& directory, const std::string& name) {
    try {
        TCCLanguage::CreateFromFile(Plain, name, directory);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

TEST(LanguageTest, BuiltInEnglishUsesTheDefaults) {
    TempDirectory dir;
    const auto english = TCCLanguage::CreateBuiltIn(Plain, dir.Path());
    EXPECT_TRUE(english->IsBuiltIn());
    EXPECT_EQ(english->FileName(), "");
    EXPECT_EQ(english->Language(), "English");
    EXPECT_EQ(english->LangID(), 1033);
    EXPECT_EQ(english->Comment(), "");
    EXPECT_EQ(english->DialogFontName(), "Arial");
    EXPECT_EQ(english->DialogFontSize(), 9);
    EXPECT_EQ(english->HelpFileName(), "Quenmark.hlp");
    EXPECT_EQ(english->MessageFileName(), "Quenmark.msg");
    EXPECT_EQ(english->UnitFileName(), "Quenmark.uni");
}

TEST(LanguageTest, FileGivesNameIdentifierAndFiles) {
    TempDirectory dir;
    dir.Write("de.lng", Header + "[Language]\nLanguage=Deutsch\nLangID=1031\nComment=Deutsche Texte\n"
                                 "DialogFontName=Liberation Sans\nDialogFontSize=11\nHelpFileName=de.hlp\n"
                                 "MessageFileName=de.msg\nUnitFileName=de.uni\n");
    const auto german = TCCLanguage::CreateFromFile(Plain, "de.lng", dir.Path());
    EXPECT_FALSE(german->IsBuiltIn());
    EXPECT_EQ(german->FullPath(), dir.PathOf("de.lng"));
    EXPECT_EQ(german->Language(), "Deutsch");
    EXPECT_EQ(german->LangID(), 1031);
    EXPECT_EQ(german->Comment(), "Deutsche Texte");
    EXPECT_EQ(german->DialogFontName(), "Liberation Sans");
    EXPECT_EQ(german->DialogFontSize(), 11);
    EXPECT_EQ(german->HelpFileName(), "de.hlp");
    EXPECT_EQ(german->MessageFileName(), "de.msg");
    EXPECT_EQ(german->UnitFileName(), "de.uni");
}

TEST(LanguageTest, MissingKeysGiveTheDefaults) {
    TempDirectory dir;
    dir.Write("x.lng", Header);
    const auto language = TCCLanguage::CreateFromFile(Plain, "x.lng", dir.Path());
    EXPECT_EQ(language->Language(), "English");
    EXPECT_EQ(language->LangID(), 1033);
    EXPECT_EQ(language->DialogFontSize(), 9);
    EXPECT_EQ(language->MessageFileName(), "Quenmark.msg");
}

struct InvalidRow {
    const char* behaviour;
    const char* contents;
};

class InvalidLanguageTest : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(InvalidLanguageTest, IsRejected) {
    TempDirectory dir;
    dir.Write("x.lng", GetParam().contents);
    EXPECT_EQ(InvalidLanguageError(dir.Path(), "x.lng"), "Invalid Language File.") << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, InvalidLanguageTest, ::testing::Values(
    InvalidRow{"purpose in other letter case",
               "[Information]\nPurpose=Quenmark Version 1.1 language definition file\n"},
    InvalidRow{"purpose of a message file", "[Information]\nPurpose=Quenmark Version 1.1 Message File\n"},
    InvalidRow{"purpose missing", "[Language]\nLanguage=Deutsch\n"},
    InvalidRow{"empty file", ""}
));

TEST(LanguageTest, MissingFileIsRejected) {
    TempDirectory dir;
    EXPECT_EQ(InvalidLanguageError(dir.Path(), "none.lng"), "Invalid Language File.");
}

TEST(LanguageTest, AccessorsReadTheFileAtEveryCallButNameAndIdentifierOnce) {
    TempDirectory dir;
    const std::string path = dir.Write("x.lng", Header + "[Language]\nLanguage=A\nComment=first\n");
    const auto language = TCCLanguage::CreateFromFile(Plain, "x.lng", dir.Path());
    ASSERT_EQ(language->Comment(), "first");
    ASSERT_TRUE(WriteProfileString(Plain, path, "Language", "Comment", "second"));
    ASSERT_TRUE(WriteProfileString(Plain, path, "Language", "Language", "B"));
    EXPECT_EQ(language->Comment(), "second");
    EXPECT_EQ(language->Language(), "A");
}

TEST(LanguageTest, MessagesAreMadeOnceFromTheNamedFile) {
    TempDirectory dir;
    dir.Write("x.lng", Header + "[Language]\nMessageFileName=x.msg\n");
    dir.Write("x.msg", "[Messages]\nINT001=Fehler\n");
    const auto language = TCCLanguage::CreateFromFile(Plain, "x.lng", dir.Path());
    TCCMessages& messages = language->GetMessages();
    EXPECT_EQ(messages.FileName(), "x.msg");
    EXPECT_EQ(messages.GetText("INT001"), "Fehler");
    EXPECT_EQ(&language->GetMessages(), &messages);
}

TEST(LanguageTest, UnitsAreReadOnFirstRequestAndAFailedLoadIsRetried) {
    TempDirectory dir;
    dir.Write("x.lng", Header + "[Language]\nUnitFileName=x.uni\n");
    const std::string purpose = "[Information]\nPurpose=Quenmark Version 1.1 Unit Convertor Definition File\n";
    dir.Write("x.uni", purpose + "[Units]\n--\n");
    const auto language = TCCLanguage::CreateFromFile(Plain, "x.lng", dir.Path());
    EXPECT_THROW(language->GetUnits(), Exception);
    dir.Write("x.uni", purpose + "[Units]\n---\nGroupName:Length\nBaseUnit:m\n\tkm\t1000\n---\n");
    TCCUnitGroupList& units = language->GetUnits();
    ASSERT_EQ(units.Count(), 1u);
    EXPECT_EQ(units.Items(0).Name, "Length");
    dir.Write("x.uni", purpose);
    EXPECT_EQ(&language->GetUnits(), &units);
    EXPECT_EQ(units.Count(), 1u) << "the unit file is read only once";
}

TEST(CurrentLanguageTest, SelectingTheLanguageInstallsItsMessages) {
    TempDirectory dir;
    dir.Write("x.lng", Header + "[Language]\nLanguage=X\nMessageFileName=x.msg\n");
    dir.Write("x.msg", "[Messages]\nINT044=Unbekannt: %1\n");
    TCCLanguageList languages;
    TCCContext context;
    context.SetMessages(&languages);
    languages.Add(TCCLanguage::CreateFromFile(Plain, "x.lng", dir.Path()));
    TCCLanguage* language = &languages.Items(0);
    languages.Select(language);
    EXPECT_EQ(languages.Current(), language);
    EXPECT_EQ(languages.Text("INT044"), language->GetMessages().Text("INT044"));
    EXPECT_EQ(context.GetTextWith("INT044", "q"), "Unbekannt: q");
    languages.Select(nullptr);
    EXPECT_EQ(languages.Current(), nullptr) << "no language is in force any more";
    EXPECT_EQ(languages.Text("INT044"), std::nullopt);
    EXPECT_EQ(context.GetText("INT044"), "INT044");
}

TEST(CurrentLanguageTest, OnlyALanguageOfTheListCanBeSelected) {
    TCCLanguageList languages;
    const auto stranger = TCCLanguage::CreateBuiltIn(Plain, "/nowhere/");
    EXPECT_THROW(languages.Select(stranger.get()), std::invalid_argument);
    EXPECT_EQ(languages.Current(), nullptr);
}

}  // namespace
}  // namespace quenmark
