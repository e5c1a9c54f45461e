#include "definitions/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/context.h"
#include "definitions/temp_directory.h"
#include "platform/file_listing.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using testing::TempDirectory;

std::string LanguageFile(const std::string& languageKeys) {
    return "[Information]\nPurpose=Quenmark Version 1.1 Language Definition File\n[Language]\n" + languageKeys;
}

std::vector<std::string> Names(const TCCLanguageList& list) {
    std::vector<std::string> names;
    for (size_t i = 0; i < list.Count(); ++i) names.push_back(list.Items(i).FileName());
    return names;
}

TEST(LanguageListTest, GathersLanguageFilesInListingOrderThenEnglish) {
    TempDirectory dir;
    dir.Write("b.lng", LanguageFile("Language=B\n"));
    dir.Write("a.LNG", LanguageFile("Language=A\n"));
    dir.Write("c.lng", LanguageFile("Language=C\n"));
    dir.Write("bad.lng", "[Information]\nPurpose=something else\n");
    dir.Write(".hidden.lng", LanguageFile("Language=H\n"));
    dir.Write("notes.txt", LanguageFile("Language=T\n"));
    std::filesystem::create_directory(dir.PathOf("folder.lng"));

    TCCLanguageList list;
    list.Gather(Plain, dir.Path());

    std::vector<std::string> expected;
    for (const std::string& name : ListFilesWithExtension(dir.Path(), ".lng"))
        if (name != "bad.lng") expected.push_back(name);
    expected.push_back("");
    EXPECT_EQ(Names(list), expected);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_TRUE(list.Items(list.Count() - 1).IsBuiltIn());
}

TEST(LanguageListTest, NoLanguageFilesLeavesEnglishAlone) {
    TempDirectory dir;
    TCCLanguageList list;
    list.Gather(Plain, dir.Path());
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(&list.Choose("Deutsch", 1031), &list.Items(0));
}

TEST(LanguageListTest, TwoFilesOfOneNameTheFirstListedWins) {
    TempDirectory dir;
    dir.Write("one.lng", LanguageFile("Language=Same\n"));
    dir.Write("two.lng", LanguageFile("Language=Same\n"));
    TCCLanguageList list;
    list.Gather(Plain, dir.Path());
    const std::string first = ListFilesWithExtension(dir.Path(), ".lng").front();
    EXPECT_EQ(list.Choose("Same", 0).FileName(), first);
}

struct ChoiceRow {
    const char* behaviour;
    std::vector<const char*> files;  // in list order; the built-in English language follows
    const char* storedName;
    int32_t userLangID;
    size_t expected;  // position in the list
};

class LanguageChoiceTest : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(LanguageChoiceTest, ChoosesByNameThenIdentifierThenEnglish) {
    const ChoiceRow& row = GetParam();
    TempDirectory dir;
    TCCLanguageList list;
    for (size_t i = 0; i < row.files.size(); ++i) {
        const std::string name = "l" + std::to_string(i) + ".lng";
        dir.Write(name, LanguageFile(row.files[i]));
        list.Add(TCCLanguage::CreateFromFile(Plain, name, dir.Path()));
    }
    list.Add(TCCLanguage::CreateBuiltIn(Plain, dir.Path()));
    EXPECT_EQ(list.IndexOf(&list.Choose(row.storedName, row.userLangID)), static_cast<int>(row.expected))
        << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rows, LanguageChoiceTest, ::testing::Values(
    ChoiceRow{"stored name", {"Language=Deutsch\nLangID=1031", "Language=Japanese\nLangID=1041"}, "Japanese", 0, 1},
    ChoiceRow{"stored name in other letter case", {"Language=Deutsch\nLangID=1031"}, "DEUTSCH", 0, 0},
    ChoiceRow{"stored name wins over the identifier",
              {"Language=Deutsch\nLangID=1031", "Language=Japanese\nLangID=1041"}, "Japanese", 1031, 1},
    ChoiceRow{"first of two with one name", {"Language=Same\nLangID=1", "Language=Same\nLangID=2"}, "same", 2, 0},
    ChoiceRow{"file without a name counts as English before the built-in one", {"LangID=1031"}, "English", 0, 0},
    ChoiceRow{"built-in English chosen by name when no file is called so", {"Language=Deutsch"}, "english", 0, 1},
    ChoiceRow{"identifier when no name matches", {"Language=Deutsch\nLangID=1031", "Language=Japanese\nLangID=1041"},
              "*Default", 1041, 1},
    ChoiceRow{"first file with the user's 1033 wins over the built-in",
              {"Language=Deutsch\nLangID=1031", "Language=Pirate\nLangID=1033"}, "", 1033, 1},
    ChoiceRow{"nothing matches: the built-in English", {"Language=Deutsch\nLangID=1031"}, "Klingon", 0, 1},
    ChoiceRow{"non-ASCII letters compare exactly", {"Language=\xC3\xA4\nLangID=5"}, "\xC3\x84", 0, 1}
));

TEST(LanguageListTest, IndexOfAForeignLanguageIsMinusOne) {
    TCCLanguageList list;
    list.Add(TCCLanguage::CreateBuiltIn(Plain));
    const auto other = TCCLanguage::CreateBuiltIn(Plain);
    EXPECT_EQ(list.IndexOf(other.get()), -1);
    EXPECT_EQ(list.IndexOf(&list.Items(0)), 0);
}

}  // namespace
}  // namespace quenmark
