// Checks of the files the program ships with: every message file has a
// text for every code the program looks up, the languages load, the unit
// groups convert by their known factors and the help files have their topics.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "base/context.h"
#include "definitions/language_list.h"
#include "definitions/messages.h"
#include "definitions/profile.h"
#include "definitions/unit_group_list.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

const std::string ResourceDir = QUENMARK_SOURCE_DIR "/resources/";
const std::string SourceDir = QUENMARK_SOURCE_DIR "/src";
const char* const MessageFiles[] = {"Quenmark.msg", "German.msg", "Japanese.msg"};

// Every code the program uses, "*" marking those looked up with an argument.
const char* const DocumentedCodes =
    "INT002 INT003 INT004 INT006 INT007 INT008 INT010 INT011 INT012 INT013 INT020 INT030* INT061* INT063* "
    "INT001 INT040 INT041* INT042* INT043 INT044* INT045* INT046 INT047* INT048* INT070 CVM999 "
    "INT101 INT102 INT103 INT104 INT105 INT106 INT110 INT111 INT112 INT121 INT122 INT124* INT125* INT126* "
    "INT127* INT128 INT129* INT130* INT131* INT132* INT133* INT140 INT141 INT142 INT143 INT150 INT151 INT152 "
    "INT160 INT161 INT170* INT171 INT181* INT182* INT183* "
    "CVM001 CVM002 CVM003 CVM005 CVM006 CVM007 CVM010* CVM011* CVM021* CVM022* CVM023* CVM024* CVM025* CVM026* "
    "CVM031* CVM100* CVM101* CVM102* CVM103* CVM104* CVM106* "
    "QEN001 QEN002 QEN011 QEN012 QEN021 QEN022 QEN031 QEN032 QEN033 QEN099 QEN101 QEN201 QEN202 QEN203 QEN901 "
    "QEN013 OPT027 "
    "INT999 "
    "OPT000 OPT001 OPT002 OPT003 OPT004 OPT007 OPT008 OPT009 OPT011 OPT012 OPT013 OPT014 OPT015 OPT016 OPT017 "
    "OPT021 OPT022 OPT023 OPT024 OPT025 OPT026 OPT030 OPT031 OPT032 OPT101 OPT909";

struct CodeSet {
    std::set<std::string> All;
    std::set<std::string> WithArgument;
};

void AddDocumentedCodes(CodeSet& codes) {
    std::istringstream words(DocumentedCodes);
    for (std::string word; words >> word;) {
        const bool argument = word.back() == '*';
        if (argument) word.pop_back();
        codes.All.insert(word);
        if (argument) codes.WithArgument.insert(word);
    }
}

// Every quoted code in the source, and those that GetTextWith looks up.
void AddSourceCodes(CodeSet& codes) {
    const std::regex quoted("\"((INT|CVM|QEN|OPT)[0-9]{3})\"");
    const std::regex withArgument("GetTextWith\\(\\s*\"([A-Z]{3}[0-9]{3})\"");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SourceDir)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it)
            codes.All.insert((*it)[1]);
        for (std::sregex_iterator it(text.begin(), text.end(), withArgument), end; it != end; ++it) {
            codes.All.insert((*it)[1]);
            codes.WithArgument.insert((*it)[1]);
        }
    }
}

const CodeSet& UsedCodes() {
    static const CodeSet codes = [] {
        CodeSet set;
        AddDocumentedCodes(set);
        AddSourceCodes(set);
        return set;
    }();
    return codes;
}

// The raw texts of the section "Messages", as written in the file.
std::map<std::string, std::string> RawTexts(const std::string& file) {
    std::vector<std::string> lines;
    ReadSectionLines(Plain, ResourceDir + file, "Messages", lines);
    std::map<std::string, std::string> texts;
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == ';' || equals == std::string::npos) continue;
        texts.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return texts;
}

TEST(ShippedMessagesTest, TheCodeListsAreSane) {
    EXPECT_GE(UsedCodes().All.size(), 121u);
    EXPECT_TRUE(UsedCodes().All.count("CVM003"));
    EXPECT_TRUE(UsedCodes().WithArgument.count("INT044"));
}

class ShippedMessageFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedMessageFileTest, HasATextForEveryCode) {
    const TCCMessages messages(Plain, GetParam(), ResourceDir);
    for (const std::string& code : UsedCodes().All) {
        const std::string text = messages.GetText(code);
        EXPECT_NE(text, code) << GetParam() << " has no text for " << code;
        EXPECT_FALSE(text.empty()) << GetParam() << " " << code;
    }
}

TEST_P(ShippedMessageFileTest, PlacesTheArgumentExactlyWhereOneIsGiven) {
    const std::map<std::string, std::string> texts = RawTexts(GetParam());
    for (const std::string& code : UsedCodes().All) {
        const auto it = texts.find(code);
        if (it == texts.end()) continue;  // reported by HasATextForEveryCode
        const bool hasPlaceholder = it->second.find("%1") != std::string::npos;
        EXPECT_EQ(hasPlaceholder, UsedCodes().WithArgument.count(code) == 1)
            << GetParam() << " " << code << ": " << it->second;
    }
}

TEST_P(ShippedMessageFileTest, EveryTextFitsTheValueLimitAndIsUnique) {
    std::vector<std::string> lines;
    ReadSectionLines(Plain, ResourceDir + GetParam(), "Messages", lines);
    std::set<std::string> seen;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';') continue;
        const std::string code = line.substr(0, line.find('='));
        EXPECT_TRUE(seen.insert(code).second) << GetParam() << " repeats " << code;
        EXPECT_LE(line.size() - code.size() - 1, 255u) << GetParam() << " " << code << " is longer than 255 bytes";
        EXPECT_TRUE(UsedCodes().All.count(code)) << GetParam() << " has a text for the unused code " << code;
    }
}

TEST_P(ShippedMessageFileTest, HasAValidHeader) {
    const TCCMessages messages(Plain, GetParam(), ResourceDir);
    std::string purpose;
    ReadProfileString(Plain, messages.FullPath(), "Information", "Purpose", purpose);
    EXPECT_EQ(purpose, TCCMessages::Purpose);
    EXPECT_EQ(messages.Codepage(), 65001);
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedMessageFileTest, ::testing::ValuesIn(MessageFiles));

TEST(ShippedMessagesTest, TranslationsTranslateEveryText) {
    const std::set<std::string> sameInEveryLanguage{"OPT007", "QEN201", "QEN203"};
    const TCCMessages english(Plain, "Quenmark.msg", ResourceDir);
    for (const char* file : {"German.msg", "Japanese.msg"}) {
        const TCCMessages translation(Plain, file, ResourceDir);
        for (const std::string& code : UsedCodes().All) {
            if (sameInEveryLanguage.count(code)) continue;
            EXPECT_NE(translation.GetText(code), english.GetText(code)) << file << " leaves " << code << " in English";
        }
    }
}

// The captions that appear together in one menu or one set of buttons.
// The control menu holds the hide item or the show item, never both.
const std::vector<std::vector<std::string>> CaptionGroups = {
    {"QEN001", "QEN011", "QEN012", "QEN013", "QEN021", "QEN031", "QEN022", "QEN099"},
    {"QEN002", "QEN011", "QEN012", "QEN013", "QEN021", "QEN031", "QEN022", "QEN099"},
    {"QEN032", "QEN033"},
    {"QEN201", "QEN202", "QEN203"},
    {"QEN902", "QEN903"},
    {"QEN406", "QEN407"},
};

// The character after the caption's "&" (one UTF-8 character, ASCII letters
// in capitals); empty without one.
std::string AcceleratorOf(const std::string& caption) {
    const size_t mark = caption.find('&');
    if (mark == std::string::npos || mark + 1 >= caption.size()) return {};
    size_t length = 1;
    const auto lead = static_cast<unsigned char>(caption[mark + 1]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    std::string key = caption.substr(mark + 1, length);
    if (length == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 'a' + 'A');
    return key;
}

TEST_P(ShippedMessageFileTest, EveryMenuHasUniqueAccelerators) {
    const TCCMessages messages(Plain, GetParam(), ResourceDir);
    for (const std::vector<std::string>& group : CaptionGroups) {
        std::map<std::string, std::string> takenBy;
        for (const std::string& code : group) {
            const std::string key = AcceleratorOf(messages.GetText(code));
            if (key.empty()) continue;
            const auto [taken, fresh] = takenBy.emplace(key, code);
            EXPECT_TRUE(fresh) << GetParam() << ": " << code << " and " << taken->second << " share &" << key;
        }
    }
}

TEST(ShippedLanguagesTest, GermanAndJapaneseLoadBeforeTheBuiltInEnglish) {
    TCCLanguageList list;
    list.Gather(Plain, ResourceDir);
    ASSERT_EQ(list.Count(), 3u);
    std::map<int32_t, TCCLanguage*> byID;
    for (size_t i = 0; i < list.Count(); ++i) byID[list.Items(i).LangID()] = &list.Items(i);
    ASSERT_TRUE(byID.count(1031) && byID.count(1041));
    EXPECT_EQ(byID[1031]->Language(), "Deutsch");
    EXPECT_EQ(byID[1041]->Language(), "日本語");
    EXPECT_TRUE(list.Items(2).IsBuiltIn());
    for (size_t i = 0; i < list.Count(); ++i) {
        TCCLanguage& language = list.Items(i);
        for (const std::string& file : {language.MessageFileName(), language.UnitFileName(), language.HelpFileName()})
            EXPECT_TRUE(std::filesystem::is_regular_file(ResourceDir + file)) << language.Language() << ": " << file;
        EXPECT_EQ(language.GetMessages().Language(), language.Language());
        EXPECT_EQ(language.GetUnits().Count(), list.Items(2).GetUnits().Count()) << language.Language();
    }
}

struct FactorRow {
    const char* group;
    const char* unit;
    double baseUnits;  // base units in one unit, from the unit's definition
    double offset = 0;  // base units at the unit's zero
};

// A few defined factors per shipped group, in base units of the group.
const FactorRow KnownFactors[] = {
    {"Length", "mile (mi)", 1609.344}, {"Length", "inch (in)", 0.0254}, {"Length", "nautical mile (NM)", 1852},
    {"Length", "kilometre (km)", 1000},
    {"Area", "acre (ac)", 4046.8564224}, {"Area", "hectare (ha)", 1e4}, {"Area", "square foot (ft<u>2</u>)", 0.09290304},
    {"Volume", "US gallon (gal)", 3.785411784e-3}, {"Volume", "litre (L)", 1e-3},
    {"Volume", "imperial gallon (gal)", 4.54609e-3},
    {"Mass", "pound (lb)", 0.45359237}, {"Mass", "ounce (oz)", 0.028349523125}, {"Mass", "tonne (t)", 1000},
    {"Time", "hour (h)", 3600}, {"Time", "day (d)", 86400}, {"Time", "Julian year (a)", 31557600},
    {"Speed", "kilometre per hour (km/h)", 1 / 3.6}, {"Speed", "mile per hour (mph)", 0.44704},
    {"Speed", "knot (kn)", 1852.0 / 3600},
    {"Acceleration", "standard gravity (g)", 9.80665}, {"Acceleration", "foot per second squared (ft/s<u>2</u>)", 0.3048},
    {"Force", "pound-force (lbf)", 0.45359237 * 9.80665}, {"Force", "kilogram-force (kgf)", 9.80665},
    {"Pressure", "standard atmosphere (atm)", 101325}, {"Pressure", "bar (bar)", 1e5},
    {"Pressure", "torr (Torr)", 101325.0 / 760},
    {"Pressure", "pound per square inch (psi)", 0.45359237 * 9.80665 / (0.0254 * 0.0254)},
    {"Energy", "kilowatt-hour (kWh)", 3.6e6}, {"Energy", "calorie (cal)", 4.184},
    {"Energy", "electronvolt (eV)", 1.602176634e-19}, {"Energy", "British thermal unit (BTU)", 1055.05585262},
    {"Power", "horsepower (hp)", 550 * 0.3048 * 0.45359237 * 9.80665}, {"Power", "metric horsepower (PS)", 735.49875},
    {"Power", "kilowatt (kW)", 1000},
    {"Angle", "degree (°)", 3.14159265358979323846 / 180}, {"Angle", "turn (rev)", 2 * 3.14159265358979323846},
    {"Angle", "gon (gon)", 3.14159265358979323846 / 200},
    {"Frequency", "kilohertz (kHz)", 1000}, {"Frequency", "revolutions per minute (rpm)", 1.0 / 60},
    {"Data size", "kibibyte (KiB)", 1024}, {"Data size", "kilobyte (kB)", 1000}, {"Data size", "bit (bit)", 0.125},
    {"Data size", "gibibyte (GiB)", 1073741824.0}, {"Data size", "megabyte (MB)", 1e6},
    {"Data rate", "megabit per second (Mbit/s)", 1e6}, {"Data rate", "byte per second (B/s)", 8},
    {"Data rate", "mebibyte per second (MiB/s)", 8 * 1048576.0},
    {"Torque", "pound-force foot (lbf·ft)", 0.45359237 * 9.80665 * 0.3048},
    {"Torque", "kilogram-force metre (kgf·m)", 9.80665},
    {"Density", "gram per cubic centimetre (g/cm<u>3</u>)", 1000},
    {"Density", "pound per cubic foot (lb/ft<u>3</u>)", 0.45359237 / (0.3048 * 0.3048 * 0.3048)},
    {"Electric charge", "ampere-hour (Ah)", 3600}, {"Electric charge", "milliampere-hour (mAh)", 3.6},
    {"Temperature", "degree Celsius (°C)", 1, 273.15}, {"Temperature", "degree Fahrenheit (°F)", 5.0 / 9, 459.67 * 5 / 9},
};

const TCCUnitGroup* FindGroup(const TCCUnitGroupList& list, const std::string& name) {
    for (size_t i = 0; i < list.Count(); ++i)
        if (list.Items(i).Name == name) return &list.Items(i);
    return nullptr;
}

TEST(ShippedUnitsTest, EveryGroupConvertsByItsDefinedFactors) {
    const TCCUnitGroupList units(Plain, "Quenmark.uni", ResourceDir);
    ASSERT_GE(units.Count(), 15u);
    std::set<std::string> checkedGroups;
    for (const FactorRow& row : KnownFactors) {
        const TCCUnitGroup* group = FindGroup(units, row.group);
        ASSERT_NE(group, nullptr) << row.group;
        ASSERT_NE(group->FindUnit(row.unit), nullptr) << row.group << ": " << row.unit;
        const std::string base = group->BaseUnit()->Name;
        EXPECT_NEAR(group->Convert(1, row.unit, base) / (row.baseUnits + row.offset), 1.0, 1e-12) << row.unit;
        EXPECT_NEAR(group->Convert(row.baseUnits + row.offset, base, row.unit), 1.0, 1e-12) << row.unit;
        checkedGroups.insert(row.group);
    }
    EXPECT_EQ(checkedGroups.size(), units.Count()) << "every shipped group has known factors here";
}

TEST(ShippedUnitsTest, GroupsHoldProportionalUnitsOnly) {
    const TCCUnitGroupList units(Plain, "Quenmark.uni", ResourceDir);
    for (size_t g = 0; g < units.Count(); ++g) {
        const TCCUnitGroup& group = units.Items(g);
        EXPECT_GE(group.Count(), 3u) << group.Name;
        std::set<std::string> names;
        for (size_t i = 0; i < group.Count(); ++i) {
            EXPECT_GT(group.Items(i).Factor, 0) << group.Name << ": " << group.Items(i).Name;
            EXPECT_TRUE(names.insert(group.Items(i).Name).second) << group.Name << " repeats " << group.Items(i).Name;
        }
    }
}

TEST(ShippedUnitsTest, TranslationsHaveTheSameGroupsAndFactorsWithTheirOwnNames) {
    const TCCUnitGroupList english(Plain, "Quenmark.uni", ResourceDir);
    for (const char* file : {"German.uni", "Japanese.uni"}) {
        const TCCUnitGroupList translation(Plain, file, ResourceDir);
        ASSERT_EQ(translation.Count(), english.Count()) << file;
        for (size_t g = 0; g < english.Count(); ++g) {
            const TCCUnitGroup& a = english.Items(g);
            const TCCUnitGroup& b = translation.Items(g);
            EXPECT_NE(a.Name, b.Name) << file << " keeps the group name " << a.Name;
            ASSERT_EQ(a.Count(), b.Count()) << file << ": " << a.Name;
            for (size_t i = 0; i < a.Count(); ++i) {
                EXPECT_EQ(a.Items(i).Factor, b.Items(i).Factor) << file << ": " << b.Items(i).Name;
                EXPECT_EQ(a.Items(i).Offset, b.Items(i).Offset) << file << ": " << b.Items(i).Name;
            }
        }
    }
}

class ShippedHelpTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedHelpTest, HasEveryTopicAndExplainsEveryCommand) {
    std::ifstream in(ResourceDir + GetParam());
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* topic : {"1", "100", "101", "102", "200"})
        EXPECT_NE(html.find(std::string("<a name=\"") + topic + "\""), std::string::npos) << "topic " << topic;
    const std::string syntax = html.substr(html.find("<a name=\"200\""));
    for (const char* command : {"@VAR", "@VARIABLES", "@FNC", "@FUNCTIONS", "@DELVAR", "@DELVARALL", "@PROTECT",
                                "@DESERT", "@DEC", "@HEX", "@OCT", "@BIN", "@FORMAT", "@STAT", "@STATUS", "@DEBUG"})
        EXPECT_NE(syntax.find(command), std::string::npos) << GetParam() << " does not explain " << command;
    for (const char* token : {"0x", "0b", "&amp;", "%"})
        EXPECT_NE(syntax.find(token), std::string::npos) << GetParam() << " does not explain " << token;
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedHelpTest, ::testing::Values("Quenmark.hlp", "German.hlp", "Japanese.hlp"));

}  // namespace
}  // namespace quenmark
