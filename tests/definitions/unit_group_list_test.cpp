#include "definitions/unit_group_list.h"

#include <gtest/gtest.h>

#include "base/context.h"
#include "definitions/temp_directory.h"
#include "base/exception.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using testing::TempDirectory;

const std::string Purpose = "[Information]\nPurpose=Quenmark Version 1.1 Unit Convertor Definition File\n";
const std::string Length = "GroupName:Length\nBaseUnit:m\n\tkm\t1000\n\tmm\t0.001\n---\n";

enum class Outcome { Loads, FormError, IndexError };

struct LoadRow {
    const char* behaviour;
    std::string contents;  // after the header; "<missing>" for no file at all
    Outcome outcome;
    std::vector<std::string> groups;  // when it loads: "name: unit=factor, ..." per group
};

std::string Describe(const TCCUnitGroup& group) {
    std::string text = group.Name + ":";
    for (size_t i = 0; i < group.Count(); ++i) {
        char factor[32];
        std::snprintf(factor, sizeof factor, "%g", group.Items(i).Factor);
        text += " " + group.Items(i).Name + "=" + factor;
    }
    return text;
}

class LoadUnitFileTest : public ::testing::TestWithParam<LoadRow> {};

TEST_P(LoadUnitFileTest, FollowsTheTableRules) {
    const LoadRow& row = GetParam();
    TempDirectory dir;
    if (row.contents != "<missing>") dir.Write("u.uni", row.contents);
    try {
        const TCCUnitGroupList list(Plain, "u.uni", dir.Path());
        ASSERT_EQ(row.outcome, Outcome::Loads) << row.behaviour << ": loaded";
        std::vector<std::string> groups;
        for (size_t i = 0; i < list.Count(); ++i) groups.push_back(Describe(list.Items(i)));
        EXPECT_EQ(groups, row.groups) << row.behaviour;
    } catch (const Exception& error) {
        const std::string message = error.what();
        if (row.outcome == Outcome::FormError) EXPECT_EQ(message, "Error") << row.behaviour;
        else if (row.outcome == Outcome::IndexError) EXPECT_EQ(message.rfind("List index out of bounds", 0), 0u) << row.behaviour << ": " << message;
        else ADD_FAILURE() << row.behaviour << ": failed with " << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LoadUnitFileTest, ::testing::Values(
    LoadRow{"file missing", "<missing>", Outcome::Loads, {}},
    LoadRow{"purpose different", "[Information]\nPurpose=Quenmark Version 1.1 Message File\n[Units]\n---\n" + Length,
            Outcome::Loads, {}},
    LoadRow{"a group", Purpose + "[Units]\n---\n" + Length, Outcome::Loads, {"Length: m=1 km=1000 mm=0.001"}},
    LoadRow{"no [Units] line", Purpose + Length, Outcome::IndexError, {}},
    LoadRow{"[Units] in small letters is not found", Purpose + "[units]\n---\n" + Length, Outcome::IndexError, {}},
    LoadRow{"file ends right after [Units]", Purpose + "[Units]\n", Outcome::IndexError, {}},
    LoadRow{"line after [Units] not ---", Purpose + "[Units]\nGroupName:Length\n", Outcome::FormError, {}},
    LoadRow{"opening and its [Units] compared trimmed", Purpose + "  [Units]  \n  ---  \n" + Length, Outcome::Loads,
            {"Length: m=1 km=1000 mm=0.001"}},
    LoadRow{"file ends after the opening ---", Purpose + "[Units]\n---\n", Outcome::IndexError, {}},
    LoadRow{"group without GroupName line", Purpose + "[Units]\n---\nBaseUnit:m\n", Outcome::FormError, {}},
    LoadRow{"group without BaseUnit line", Purpose + "[Units]\n---\nGroupName:Length\n\tkm\t1000\n",
            Outcome::FormError, {}},
    LoadRow{"file ends after GroupName", Purpose + "[Units]\n---\nGroupName:Length\n", Outcome::IndexError, {}},
    LoadRow{"prefixes match letter case exactly", Purpose + "[Units]\n---\ngroupname:Length\nBaseUnit:m\n",
            Outcome::FormError, {}},
    LoadRow{"last line is the closing ---", Purpose + "[Units]\n---\n" + Length + "GroupName:Mass\nBaseUnit:kg\n---",
            Outcome::Loads, {"Length: m=1 km=1000 mm=0.001", "Mass: kg=1"}},
    LoadRow{"empty line after the closing ---", Purpose + "[Units]\n---\n" + Length + "\n", Outcome::FormError, {}},
    LoadRow{"blank line after the closing ---", Purpose + "[Units]\n---\n" + Length + "  \n", Outcome::FormError, {}},
    LoadRow{"table ends inside a group", Purpose + "[Units]\n---\nGroupName:Length\nBaseUnit:m\n\tkm\t1000",
            Outcome::Loads, {"Length: m=1 km=1000"}},
    LoadRow{"unit line without a second tab skipped", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\tkm 1000\n---",
            Outcome::Loads, {"L: m=1"}},
    LoadRow{"unit line with an empty factor skipped", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\tkm\t  \n---",
            Outcome::Loads, {"L: m=1"}},
    LoadRow{"factor the tokenizer rejects skipped", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\tkm\t1e\n"
                                                               "\tx\t.5\n\tcm\t0.01\n---",
            Outcome::Loads, {"L: m=1 cm=0.01"}},
    LoadRow{"factor that is no number skipped", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\ta\t-5\n"
                                                           "\tb\tabc\n\tc\t\"5\"\n\td\t5\n---",
            Outcome::Loads, {"L: m=1 d=5"}},
    LoadRow{"line without a leading tab skipped", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n km\t1000\n"
                                                             "note\n---",
            Outcome::Loads, {"L: m=1"}},
    LoadRow{"factor followed by a word", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\tkm\t1000 metres\n---",
            Outcome::Loads, {"L: m=1 km=1000"}},
    LoadRow{"factor in any literal form", Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\ta\t2.5E3\n\tb\t0x10\n"
                                                     "\tc\t017\n\td\t0b11\n---",
            Outcome::Loads, {"L: m=1 a=2500 b=16 c=15 d=3"}},
    LoadRow{"blank after the colon belongs to the name",
            Purpose + "[Units]\n---\nGroupName: Length\nBaseUnit: m\n---", Outcome::Loads, {" Length:  m=1"}},
    LoadRow{"group end with blanks after it is no group end",
            Purpose + "[Units]\n---\nGroupName:L\nBaseUnit:m\n\tkm\t1000\n---  \nGroupName:M\nBaseUnit:kg\n\tg\t0.001\n---",
            Outcome::Loads, {"L: m=1 km=1000 g=0.001"}},
    LoadRow{"CR LF line ends", Purpose + "[Units]\r\n---\r\nGroupName:L\r\nBaseUnit:m\r\n\tkm\t1000\r\n---\r\n",
            Outcome::Loads, {"L: m=1 km=1000"}},
    LoadRow{"unit names keep their tags", Purpose + "[Units]\n---\nGroupName:A\nBaseUnit:m<u>2</u>\n\tkm<u>2</u>\t1E6\n---",
            Outcome::Loads, {"A: m<u>2</u>=1 km<u>2</u>=1e+06"}}
));

TEST(UnitFontsTest, DefaultFontsBeforeAnyFile) {
    const TCCUnitGroupList list(Plain);
    for (size_t i = 0; i < TCCUnitGroupList::FontCount; ++i)
        EXPECT_EQ(list.Fonts()[i], i == 1 ? "Symbol" : "Times New Roman") << i;
    EXPECT_EQ(list.Count(), 0u);
}

TEST(UnitFontsTest, WrongHeaderKeepsTheDefaultFonts) {
    TempDirectory dir;
    dir.Write("u.uni", "[Information]\nPurpose=other\n[Font]\nFont1=Arial\n");
    EXPECT_EQ(TCCUnitGroupList(Plain, "u.uni", dir.Path()).Fonts()[1], "Symbol");
}

TEST(UnitFontsTest, ValidHeaderReadsTenFacesWithTimesNewRomanForMissingKeys) {
    TempDirectory dir;
    dir.Write("u.uni", Purpose + "[Font]\nFont0=Arial\nFont9=Liberation Mono\nFont10=Ignored\n[Units]\n---\n" + Length);
    const TCCUnitGroupList list(Plain, "u.uni", dir.Path());
    EXPECT_EQ(list.Fonts()[0], "Arial");
    EXPECT_EQ(list.Fonts()[1], "Times New Roman");
    EXPECT_EQ(list.Fonts()[9], "Liberation Mono");
}

TEST(UnitFontsTest, ValidHeaderWithoutFontSectionGivesTimesNewRomanEverywhere) {
    TempDirectory dir;
    dir.Write("u.uni", Purpose + "[Units]\n---\n" + Length);
    const TCCUnitGroupList list(Plain, "u.uni", dir.Path());
    for (const std::string& face : list.Fonts()) EXPECT_EQ(face, "Times New Roman");
}

TEST(UnitGroupListTest, AFailedLoadLeavesTheListAsItWas) {
    TempDirectory dir;
    dir.Write("good.uni", Purpose + "[Units]\n---\n" + Length);
    dir.Write("bad.uni", Purpose + "[Font]\nFont0=Arial\n[Units]\n--\n");
    TCCUnitGroupList list(Plain, "good.uni", dir.Path());
    EXPECT_THROW(list.LoadUnitFile("bad.uni"), Exception);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Items(0).Name, "Length");
    EXPECT_EQ(list.Fonts()[0], "Times New Roman");
    EXPECT_EQ(list.FullPath(), dir.PathOf("bad.uni"));
}

class UnitGroupTest : public ::testing::Test {
protected:
    UnitGroupTest() : group("Length") {
        group.SetBaseUnit(std::make_unique<TCCUnit>("m", 1));
        group.Add(std::make_unique<TCCUnit>("km", 1000));
        group.Add(std::make_unique<TCCUnit>("mm", 0.001));
        group.Add(std::make_unique<TCCUnit>("zero", 0));
        group.Add(std::make_unique<TCCUnit>("km", 2000));
        group.Add(std::make_unique<TCCUnit>("huge", 1e300));
    }
    TCCUnitGroup group;
};

TEST_F(UnitGroupTest, ConvertsThroughTheFactors) {
    EXPECT_EQ(group.BaseUnit(), &group.Items(0));
    EXPECT_DOUBLE_EQ(group.Convert(3, "km", "mm"), 3e6);
    EXPECT_EQ(group.Convert(5, "m", "m"), 5);
    EXPECT_DOUBLE_EQ(group.Convert(2500, "mm", "m"), 2.5);
    EXPECT_EQ(group.Convert(7, "zero", "m"), 0);
}

TEST_F(UnitGroupTest, FindUnitTakesTheFirstOfANameAndMatchesCaseExactly) {
    EXPECT_EQ(group.FindUnit("km"), &group.Items(1));
    EXPECT_EQ(group.FindUnit("KM"), nullptr);
    EXPECT_DOUBLE_EQ(group.Convert(1, "km", "m"), 1000);
}

TEST_F(UnitGroupTest, ConversionsWithoutAResultFail) {
    EXPECT_THROW(group.Convert(1, "km", "mile"), Exception);
    EXPECT_THROW(group.Convert(1, "mile", "km"), Exception);
    EXPECT_THROW(group.Convert(1, "km", "zero"), Exception);
    EXPECT_THROW(group.Convert(1e10, "huge", "mm"), Exception);
}

}  // namespace
}  // namespace quenmark
