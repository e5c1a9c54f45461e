#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include <vector>

#include "app/settings_file.h"
#include "settings_test_directory.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::SettingsText;
using test::TempDirectory;
using test::WriteTextFile;

// ---- colour schemes --------------------------------------------------------

TEST(ColorSchemesTest, NineNamedRowsInDialogOrder) {
    const std::vector<std::string> names = {"Snow", "Custard", "Peach", "Mint", "Melon",
                                            "Orange", "Blueberry", "Strawberry", "Mocha"};
    ASSERT_EQ(ColorSchemes().size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(ColorSchemes()[i].ColorName, names[i]);
        EXPECT_EQ(ColorSchemes()[i].Icon, static_cast<int32_t>(i)) << names[i];
        for (uint32_t color : {ColorSchemes()[i].BaseColor, ColorSchemes()[i].DarkColor, ColorSchemes()[i].TextColor})
            EXPECT_EQ(color >> 24, 0x02u) << names[i] << " keeps the palette-relative marker";
    }
    EXPECT_EQ(ColorSchemes()[8].TextColor, 0x02FFFFFFu) << "Mocha writes white on black";
    EXPECT_EQ(ColorSchemes()[8].BaseColor, 0x02000000u);
}

TEST(ColorSchemesTest, IndexOfNameSelectsLastExactMatchOrFirstRow) {
    const struct {
        const char* Behaviour;
        const char* Name;
        size_t Index;
    } rows[] = {
        {"first row by name", "Snow", 0},
        {"a later row by name", "Strawberry", 7},
        {"last row", "Mocha", 8},
        {"letter case counts", "mint", 0},
        {"unknown name gives first row", "Lemon", 0},
        {"empty name gives first row", "", 0},
    };
    for (const auto& row : rows) EXPECT_EQ(ColorSchemeIndexOf(row.Name), row.Index) << row.Behaviour;
}

// ---- defaults --------------------------------------------------------------

TEST(SettingsDefaultsTest, FieldsStartWithTheirDefaults) {
    const TSettings settings("unused.cfg");
    EXPECT_EQ(settings.FileName(), "unused.cfg");
    EXPECT_EQ(settings.MaxLogLine, 100);
    EXPECT_EQ(settings.MaxHistory, 50);
    EXPECT_TRUE(settings.SaveHistory);
    EXPECT_TRUE(settings.SaveVariables);
    EXPECT_TRUE(settings.AutoUnit);
    EXPECT_TRUE(settings.AlwaysOnTop);
    EXPECT_TRUE(settings.StayResident);
    EXPECT_TRUE(settings.SnapAtEdge);
    EXPECT_TRUE(settings.WindowAnime);
    EXPECT_TRUE(settings.Splash);
    EXPECT_EQ(settings.AlphaActive, 255);
    EXPECT_EQ(settings.AlphaInactive, 192);
    EXPECT_EQ(settings.ColorScheme, ColorSchemes()[1]);
    EXPECT_EQ(settings.ColorScheme.ColorName, "Custard");
    EXPECT_EQ(settings.ColorScheme.BaseColor, 46202879u);
    EXPECT_EQ(settings.ColorScheme.DarkColor, 33587071u);
    EXPECT_EQ(settings.ColorScheme.TextColor, 33554432u);
    EXPECT_EQ(settings.ColorScheme.Icon, 1);
    EXPECT_EQ(settings.FontName, "FixedSys");
    EXPECT_EQ(settings.FontSize, 14);
    EXPECT_EQ(settings.Language, "*Default");
    EXPECT_EQ(settings.OutputMode, 0);
    EXPECT_EQ(settings.OutputFormat, "");
}

TEST(SettingsDefaultsTest, PlacementsFollowTheWorkArea) {
    const struct {
        const char* Behaviour;
        std::optional<TWorkArea> Area;
        TWindowPlacement Main;
        TWindowPlacement Unit;
    } rows[] = {
        {"no display puts the window at 0,0", std::nullopt, {0, 0, 350, 110, true}, {0, -111, 350, 110, false}},
        {"lower right corner of a work area at 0,0", TWorkArea{0, 0, 1920, 1040},
         {1570, 930, 350, 110, true}, {1570, 819, 350, 110, false}},
        {"lower right corner of a work area below a top panel", TWorkArea{0, 32, 1280, 992},
         {930, 914, 350, 110, true}, {930, 803, 350, 110, false}},
        {"primary screen right of another one", TWorkArea{1920, 0, 1280, 1024},
         {2850, 914, 350, 110, true}, {2850, 803, 350, 110, false}},
    };
    for (const auto& row : rows) {
        const TSettings settings("unused.cfg", [&] { return row.Area; });
        EXPECT_EQ(settings.MainPlacement, row.Main) << row.Behaviour;
        EXPECT_EQ(settings.UnitPlacement, row.Unit) << row.Behaviour;
    }
}

TEST(SettingsDefaultsTest, WorkAreaSourceIsAskedOnce) {
    int calls = 0;
    const TSettings settings("unused.cfg", [&] {
        ++calls;
        return std::optional<TWorkArea>(TWorkArea{0, 0, 800, 600});
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(settings.MainPlacement.Left, 450);
}

// ---- saving ----------------------------------------------------------------

std::string ExpectedNewFile() {
    const std::string user = GetLoginUserName();
    return "[Information]\r\n"
           "Purpose=Quenmark Version 1.1 User Settings File\r\n"
           "Language=None\r\n"
           "Codepage=1252\r\n"
           "[Quen]\r\nLeft=0\r\nTop=0\r\nWidth=350\r\nHeight=110\r\nShow=Yes\r\n"
           "[UniConv]\r\nLeft=0\r\nTop=-111\r\nWidth=350\r\nHeight=110\r\nShow=No\r\n"
           "[Others]\r\n"
           "User=" + user + "\r\n"
           "ColorName=Custard\r\nBaseColor=46202879\r\nDarkColor=33587071\r\nTextColor=33554432\r\nIcon=1\r\n"
           "FontName=FixedSys\r\nFontSize=14\r\nMaxHistory=50\r\nMaxLogLine=100\r\n"
           "SaveHistory=Yes\r\nSaveVariables=Yes\r\nAutoUnit=Yes\r\nAlwaysOnTop=Yes\r\nStayResident=Yes\r\n"
           "SnapAtEdge=Yes\r\nWindowAnime=Yes\r\nSplash=Yes\r\nAlphaActive=255\r\nAlphaInactive=192\r\n"
           "Language=*Default\r\nOutputMode=0\r\nOutputFormat=\r\nAutoComplete=Yes\r\n";
}

TEST(SettingsSaveTest, FirstSaveCreatesTheFileWithSectionsAndKeysInOrder) {
    const TempDirectory dir;
    const TSettings settings(dir.File("new.cfg"));
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadTextFile(dir.File("new.cfg")), ExpectedNewFile());
    EXPECT_TRUE(settings.IsSettingsFileValid());
}

TEST(SettingsSaveTest, SavingTwiceGivesTheSameFile) {
    const TempDirectory dir;
    const TSettings settings(dir.File("twice.cfg"));
    ASSERT_TRUE(settings.Save());
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadTextFile(dir.File("twice.cfg")), ExpectedNewFile());
}

TEST(SettingsSaveTest, KeepsOtherSectionsAndForeignKeys) {
    const TempDirectory dir;
    const std::string file = dir.File("keep.cfg");
    WriteTextFile(file, SettingsText("[Others]\r\nExtra=kept\r\nfontsize=9\r\n"
                                     "[Variables]\r\n;0100000078\r\n[History]\r\n;00000000\r\n"));
    const TSettings settings(file);
    ASSERT_TRUE(settings.Save());
    const std::string text = ReadTextFile(file);
    // The settings were not changed here, so the file's own value stays.
    EXPECT_NE(text.find("Extra=kept\r\nfontsize=9\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Variables]\r\n;0100000078\r\n[History]\r\n;00000000\r\n"), std::string::npos) << text;
    EXPECT_GT(text.find("[Quen]"), text.find("[History]")) << "a missing section is added at the end";
}

TEST(SettingsSaveTest, CreatesMissingDirectoriesOwnerOnly) {
    const TempDirectory dir;
    const std::string file = dir.Path() + "home/.config/quenmark/~alice.cfg";
    const TSettings settings(file);
    ASSERT_TRUE(settings.Save());
    EXPECT_TRUE(TSettings(file).IsSettingsFileValid());
    struct stat status {};
    ASSERT_EQ(stat((dir.Path() + "home/.config/quenmark").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST(SettingsSaveTest, UnwritableLocationFailsQuietly) {
    const TempDirectory dir;
    WriteTextFile(dir.File("plain"), "not a directory");
    const TSettings settings(dir.File("plain/x.cfg"));
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(ReadTextFile(dir.File("plain")), "not a directory");
}

// ---- loading ---------------------------------------------------------------

TSettings ChangedSettings(const std::string& file) {
    TSettings settings(file);
    settings.MainPlacement = {-20, 40, 500, 200, false};
    settings.UnitPlacement = {7, 8, 9, 10, true};
    settings.MaxLogLine = 1023;
    settings.MaxHistory = 0;
    settings.SaveHistory = false;
    settings.SaveVariables = false;
    settings.AutoUnit = false;
    settings.AlwaysOnTop = false;
    settings.StayResident = true;  // keeps the hidden main window hidden
    settings.SnapAtEdge = false;
    settings.WindowAnime = false;
    settings.Splash = false;
    settings.AlphaActive = 200;
    settings.AlphaInactive = 0;
    settings.ColorScheme = {"Own", 0x80000005u, 0x02123456u, 0x00ABCDEFu, 8};
    settings.FontName = "DejaVu Sans Mono";
    settings.FontSize = 48;
    settings.Language = "Deutsch";
    settings.OutputMode = 3;
    settings.OutputFormat = "#,##0.###";
    settings.AutoComplete = false;
    return settings;
}

void ExpectSameFields(const TSettings& a, const TSettings& b) {
    EXPECT_EQ(a.MainPlacement, b.MainPlacement);
    EXPECT_EQ(a.UnitPlacement, b.UnitPlacement);
    EXPECT_EQ(a.MaxLogLine, b.MaxLogLine);
    EXPECT_EQ(a.MaxHistory, b.MaxHistory);
    EXPECT_EQ(a.SaveHistory, b.SaveHistory);
    EXPECT_EQ(a.SaveVariables, b.SaveVariables);
    EXPECT_EQ(a.AutoUnit, b.AutoUnit);
    EXPECT_EQ(a.AlwaysOnTop, b.AlwaysOnTop);
    EXPECT_EQ(a.StayResident, b.StayResident);
    EXPECT_EQ(a.SnapAtEdge, b.SnapAtEdge);
    EXPECT_EQ(a.WindowAnime, b.WindowAnime);
    EXPECT_EQ(a.Splash, b.Splash);
    EXPECT_EQ(a.AlphaActive, b.AlphaActive);
    EXPECT_EQ(a.AlphaInactive, b.AlphaInactive);
    EXPECT_EQ(a.ColorScheme, b.ColorScheme);
    EXPECT_EQ(a.FontName, b.FontName);
    EXPECT_EQ(a.FontSize, b.FontSize);
    EXPECT_EQ(a.Language, b.Language);
    EXPECT_EQ(a.OutputMode, b.OutputMode);
    EXPECT_EQ(a.OutputFormat, b.OutputFormat);
    EXPECT_EQ(a.AutoComplete, b.AutoComplete);
}

TEST(SettingsLoadTest, SaveThenLoadRestoresEveryField) {
    const TempDirectory dir;
    const std::string file = dir.File("round.cfg");
    const TSettings saved = ChangedSettings(file);
    ASSERT_TRUE(saved.Save());
    TSettings loaded(file);
    loaded.Load();
    ExpectSameFields(loaded, saved);
}

TEST(SettingsLoadTest, MissingFileKeepsDefaults) {
    const TempDirectory dir;
    TSettings loaded(dir.File("none.cfg"));
    EXPECT_FALSE(loaded.IsSettingsFileValid());
    loaded.Load();
    ExpectSameFields(loaded, TSettings("other.cfg"));
}

TEST(SettingsLoadTest, MissingKeysKeepTheirDefaults) {
    const TempDirectory dir;
    const std::string file = dir.File("partial.cfg");
    WriteTextFile(file, SettingsText("[Quen]\r\nLeft=5\r\n[Others]\r\nFontName=Mono\r\n"));
    TSettings loaded(file, [] { return std::optional<TWorkArea>(TWorkArea{0, 0, 1000, 800}); });
    loaded.Load();
    EXPECT_EQ(loaded.MainPlacement, (TWindowPlacement{5, 690, 350, 110, true}));
    EXPECT_EQ(loaded.UnitPlacement, (TWindowPlacement{650, 579, 350, 110, false}))
        << "the unit window's defaults come from the default main placement";
    EXPECT_EQ(loaded.FontName, "Mono");
    EXPECT_EQ(loaded.FontSize, 14);
}

TEST(SettingsLoadTest, VersionOneZeroFileIsReadInFullAndSavedAsOneOne) {
    const TempDirectory dir;
    const std::string file = dir.File("old.cfg");
    WriteTextFile(file, "[Information]\r\nPurpose=Quenmark Version 1.0 User Settings File\r\n"
                        "[Others]\r\nMaxHistory=77\r\nLanguage=Deutsch\r\n");
    TSettings settings(file);
    settings.Load();
    EXPECT_EQ(settings.MaxHistory, 77);
    EXPECT_EQ(settings.Language, "Deutsch");
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(ReadTextFile(file).find("Purpose=Quenmark Version 1.1 User Settings File\r\n"), std::string::npos);
}

// A file that is there but not accepted keeps the user's work: it is moved
// aside whole, and the save writes a new file in its place.
TEST(SettingsLoadTest, AFileThatFailsValidationIsMovedAsideNotOverwritten) {
    const std::string body = "[Others]\r\nMaxHistory=77\r\n[Variables]\r\n;01000000780300000001000005000000\r\n";
    const struct {
        const char* Behaviour;
        std::string Text;
    } rows[] = {
        {"letter case of the purpose", "[Information]\r\nPurpose=quenmark version 1.1 user settings file\r\n" + body},
        {"an unknown version", "[Information]\r\nPurpose=Quenmark Version 1.2 User Settings File\r\n" + body},
        {"one changed byte in the header", "[Informatiom]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n" + body},
        {"an empty file", ""},
    };
    for (const auto& row : rows) {
        const TempDirectory dir;
        const std::string file = dir.File("bad.cfg");
        WriteTextFile(file, row.Text);
        TSettings settings(file);
        settings.Load();
        EXPECT_EQ(settings.MaxHistory, 50) << row.Behaviour;
        const std::string aside = settings.DamagedFileMovedTo();
        ASSERT_TRUE(aside.starts_with(file + ".damaged-")) << row.Behaviour << ": " << aside;
        EXPECT_EQ(ReadTextFile(aside), row.Text) << row.Behaviour;
        ASSERT_TRUE(settings.Save()) << row.Behaviour;
        EXPECT_TRUE(settings.IsSettingsFileValid()) << row.Behaviour;
        EXPECT_EQ(ReadTextFile(aside), row.Text) << row.Behaviour << ": the save left the damaged file alone";
    }
}

TEST(SettingsLoadTest, AByteOrderMarkIsSkippedAndNotWrittenBack) {
    const TempDirectory dir;
    const std::string file = dir.File("bom.cfg");
    WriteTextFile(file, "\xEF\xBB\xBF" + SettingsText("[Others]\r\nMaxHistory=77\r\n"));
    TSettings settings(file);
    settings.Load();
    EXPECT_EQ(settings.MaxHistory, 77);
    EXPECT_EQ(settings.DamagedFileMovedTo(), "");
    ASSERT_TRUE(settings.Save());
    EXPECT_TRUE(ReadTextFile(file).starts_with("[Information]\r\n"));
}

// Two copies that loaded the same file: each one's changes survive the
// other's save.
TEST(SettingsSaveTest, EachCopysChangedKeysWinAndTheOthersAreKept) {
    const TempDirectory dir;
    const std::string file = dir.File("shared.cfg");
    ASSERT_TRUE(TSettings(file).Save());
    TSettings first(file);
    TSettings second(file);
    first.Load();
    second.Load();
    first.FontSize = 20;
    second.MaxHistory = 9;
    ASSERT_TRUE(first.Save());
    ASSERT_TRUE(second.Save());
    TSettings reloaded(file);
    reloaded.Load();
    EXPECT_EQ(reloaded.FontSize, 20);
    EXPECT_EQ(reloaded.MaxHistory, 9);
}

// Each kind of file a save must not replace is reported with its reason,
// and left as it was.
TEST(SettingsSaveTest, AFileThatCannotBeReplacedIsReported) {
    const struct {
        const char* Behaviour;
        std::function<void(const std::string&)> Make;
        std::string Reason;
    } rows[] = {
        {"read-only file", [](const std::string& f) { WriteTextFile(f, "kept"); chmod(f.c_str(), 0444); }, "QEN403"},
        {"directory", [](const std::string& f) { mkdir(f.c_str(), 0700); }, "Is a directory"},
        {"FIFO", [](const std::string& f) { mkfifo(f.c_str(), 0600); }, "QEN405"},
        {"another user's link",
         [](const std::string& f) {
             WriteTextFile(f + ".notes", "kept");
             ASSERT_EQ(symlink((f + ".notes").c_str(), f.c_str()), 0);
             ASSERT_EQ(lchown(f.c_str(), 54321, 54321), 0);
         },
         "QEN404"},
    };
    for (const auto& row : rows) {
        if (row.Reason == "QEN404" && geteuid() != 0) continue;  // lchown needs the superuser
        const TempDirectory dir;
        const std::string file = dir.File("x.cfg");
        row.Make(file);
        const TSaveOutcome outcome = TSettings(file).SaveReporting();
        EXPECT_FALSE(outcome.Saved) << row.Behaviour;
        EXPECT_EQ(outcome.FileName, file) << row.Behaviour;
        EXPECT_EQ(outcome.Reason, row.Reason) << row.Behaviour;
    }
}

TEST(SettingsSaveTest, TheUsersOwnLinkIsFollowed) {
    const TempDirectory dir;
    const std::string target = dir.File("real.cfg");
    WriteTextFile(target, SettingsText(""));
    ASSERT_EQ(symlink(target.c_str(), dir.File("link.cfg").c_str()), 0);
    ASSERT_TRUE(TSettings(dir.File("link.cfg")).Save());
    EXPECT_NE(ReadTextFile(target).find("[Others]"), std::string::npos);
}

// A file beside a program directory that can no longer be written is read,
// and carried into the user's own file at the first save.
TEST(SettingsSaveTest, TheFileReadElsewhereIsCarriedIntoTheNewPlace) {
    const TempDirectory dir;
    const std::string old = dir.File("old.cfg");
    const std::string own = dir.Path() + "config/quenmark/new.cfg";
    WriteTextFile(old, SettingsText("[Others]\r\nMaxHistory=77\r\n[Variables]\r\n;0100000078\r\n"));
    TSettings settings(own);
    settings.ReadFrom(old);
    settings.Load();
    EXPECT_EQ(settings.MaxHistory, 77);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.SourceFileName(), own);
    const std::string text = ReadTextFile(own);
    EXPECT_NE(text.find("MaxHistory=77\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Variables]\r\n;0100000078\r\n"), std::string::npos) << text;
}

struct LoadRow {
    const char* Behaviour;
    std::string Body;
    std::function<void(const TSettings&)> Check;
};

class SettingsLoadRowTest : public ::testing::TestWithParam<LoadRow> {};

TEST_P(SettingsLoadRowTest, LoadsAsExpected) {
    const TempDirectory dir;
    const std::string file = dir.File("row.cfg");
    WriteTextFile(file, SettingsText(GetParam().Body));
    TSettings settings(file);
    settings.Load();
    GetParam().Check(settings);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsLoadRowTest,
    ::testing::Values(
        LoadRow{"NotResidentShowsHiddenMainWindow", "[Quen]\r\nShow=No\r\n[Others]\r\nStayResident=No\r\n",
                [](const TSettings& s) {
                    EXPECT_TRUE(s.MainPlacement.Show);
                    EXPECT_FALSE(s.StayResident);
                }},
        LoadRow{"ResidentKeepsMainWindowHidden", "[Quen]\r\nShow=No\r\n[Others]\r\nStayResident=Yes\r\n",
                [](const TSettings& s) { EXPECT_FALSE(s.MainPlacement.Show); }},
        LoadRow{"OutputModeKeepsLowByte", "[Others]\r\nOutputMode=257\r\n",
                [](const TSettings& s) { EXPECT_EQ(s.OutputMode, 1); }},
        LoadRow{"OutputModeBeyondRadixesIsKept", "[Others]\r\nOutputMode=7\r\n",
                [](const TSettings& s) { EXPECT_EQ(s.OutputMode, 7); }},
        LoadRow{"NegativeOutputModeKeepsLowByte", "[Others]\r\nOutputMode=-1\r\n",
                [](const TSettings& s) { EXPECT_EQ(s.OutputMode, 255); }},
        LoadRow{"ValuesOutsideDialogRangesAreUsed", "[Others]\r\nFontSize=2\r\nMaxLogLine=5000\r\nAlphaActive=999\r\n",
                [](const TSettings& s) {
                    EXPECT_EQ(s.FontSize, 2);
                    EXPECT_EQ(s.MaxLogLine, 5000);
                    EXPECT_EQ(s.AlphaActive, 999);
                }},
        LoadRow{"IntegerStartingWithNoDigitIsZero", "[Others]\r\nMaxHistory=abc\r\nFontSize=12pt\r\n",
                [](const TSettings& s) {
                    EXPECT_EQ(s.MaxHistory, 0);
                    EXPECT_EQ(s.FontSize, 12);
                }},
        LoadRow{"BooleanWordsInAnyCase",
                "[Others]\r\nSaveHistory=no\r\nSaveVariables=0\r\nAutoUnit=off\r\nAlwaysOnTop=N\r\n"
                "SnapAtEdge=nO\r\nWindowAnime=OFF\r\n[UniConv]\r\nShow=on\r\n",
                [](const TSettings& s) {
                    EXPECT_FALSE(s.SaveHistory);
                    EXPECT_FALSE(s.SaveVariables);
                    EXPECT_FALSE(s.AutoUnit);
                    EXPECT_FALSE(s.AlwaysOnTop);
                    EXPECT_FALSE(s.SnapAtEdge);
                    EXPECT_FALSE(s.WindowAnime);
                    EXPECT_TRUE(s.UnitPlacement.Show);
                }},
        LoadRow{"UnknownBooleanKeepsDefault", "[Others]\r\nSplash=maybe\r\nAutoUnit=\r\nSaveHistory=true\r\n",
                [](const TSettings& s) {
                    EXPECT_TRUE(s.Splash);
                    EXPECT_TRUE(s.AutoUnit);
                    EXPECT_TRUE(s.SaveHistory);
                }},
        LoadRow{"ColoursOfNoSchemeRow", "[Others]\r\nColorName=Own\r\nBaseColor=33554687\r\nIcon=12\r\n",
                [](const TSettings& s) {
                    EXPECT_EQ(s.ColorScheme.ColorName, "Own");
                    EXPECT_EQ(s.ColorScheme.BaseColor, 0x020000FFu);
                    EXPECT_EQ(s.ColorScheme.DarkColor, 33587071u);
                    EXPECT_EQ(s.ColorScheme.Icon, 12);
                }},
        LoadRow{"LongStringIsCutTo255", "[Others]\r\nOutputFormat=" + std::string(300, '0') + "\r\n",
                [](const TSettings& s) { EXPECT_EQ(s.OutputFormat, std::string(255, '0')); }},
        LoadRow{"KeysOfOtherSectionsAreNotFields", "[Quen]\r\nMaxHistory=3\r\n[Others]\r\nLeft=9\r\n",
                [](const TSettings& s) {
                    EXPECT_EQ(s.MaxHistory, 50);
                    EXPECT_EQ(s.MainPlacement.Left, 0);
                }},
        LoadRow{"SectionAndKeyNamesIgnoreLetterCase", "[quen]\r\nLEFT=12\r\n[OTHERS]\r\nfontname=Mono\r\n",
                [](const TSettings& s) {
                    EXPECT_EQ(s.MainPlacement.Left, 12);
                    EXPECT_EQ(s.FontName, "Mono");
                }}),
    [](const auto& row) { return std::string(row.param.Behaviour); });

TEST(SettingsTextTest, TextValuesReadBackAsTheyWere) {
    const TempDirectory dir;
    const std::string file = dir.File("text.cfg");
    for (const std::string value : {"\"$\"0.00\"$\"", "'x'", " 0.00 ", "\t#", "0.00 \"kg\"", "\"", "a=b", ""}) {
        std::remove(file.c_str());  // a fresh file: an unchanged field would keep the last one's value
        TSettings saved(file);
        saved.OutputFormat = value;
        saved.FontName = value;
        ASSERT_TRUE(saved.Save());
        TSettings loaded(file);
        loaded.Load();
        EXPECT_EQ(loaded.OutputFormat, value);
        EXPECT_EQ(loaded.FontName, value);
    }
}

TEST(SettingsTextTest, PlainTextIsWrittenWithoutQuotes) {
    const TempDirectory dir;
    TSettings settings(dir.File("plain.cfg"));
    settings.OutputFormat = "0.0#############E+";
    ASSERT_TRUE(settings.Save());
    EXPECT_NE(ReadTextFile(settings.FileName()).find("\r\nOutputFormat=0.0#############E+\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quenmark
