#include "app/startup_shortcut.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/settings_test_directory.h"
#include "platform/user_account.h"

namespace quenmark {
namespace {

using test::ReadTextFile;
using test::TempDirectory;
using test::WriteTextFile;

struct PathRow {
    const char* name;
    const char* home;
    const char* expected;
};

class StartupShortcutPathTest : public ::testing::TestWithParam<PathRow> {};

TEST_P(StartupShortcutPathTest, NamesTheAutostartEntryUnderHome) {
    EXPECT_EQ(GetStartupShortcutPath(GetParam().home), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupShortcutPathTest,
                         ::testing::Values(PathRow{"PlainHome", "/home/ann",
                                                   "/home/ann/.config/autostart/Quenmark.desktop"},
                                           PathRow{"TrailingSlashesDropped", "/home/ann//",
                                                   "/home/ann/.config/autostart/Quenmark.desktop"},
                                           PathRow{"RootHome", "/", "/.config/autostart/Quenmark.desktop"},
                                           PathRow{"NoHomeGivesEmpty", "", ""}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(StartupShortcutPath, CurrentUserUsesTheHomeFromThePasswordDatabase) {
    const std::string home = HomeDirectory();
    if (home.empty()) GTEST_SKIP() << "the test user has no home directory";
    const std::string path = GetStartupShortcutPath();
    EXPECT_EQ(path, (home == "/" ? "" : home) + "/.config/autostart/Quenmark.desktop");
}

// ---- the entry's text ----

struct ExecRow {
    const char* name;
    const char* program;
    const char* execLine;
    const char* pathLine;
};

class StartupShortcutTextTest : public ::testing::TestWithParam<ExecRow> {};

TEST_P(StartupShortcutTextTest, RunsTheProgramInItsDirectory) {
    const std::string text = StartupShortcutText(GetParam().program);
    EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Quenmark\n", 0), 0u) << text;
    EXPECT_NE(text.find(std::string("\n") + GetParam().execLine + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("\n") + GetParam().pathLine + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find('\r'), std::string::npos) << "desktop entries end their lines with LF only";
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupShortcutTextTest,
                         ::testing::Values(ExecRow{"PlainPathIsQuoted", "/opt/quenmark/quenmark",
                                                   "Exec=\"/opt/quenmark/quenmark\"", "Path=/opt/quenmark/"},
                                           ExecRow{"BlankStaysInsideTheQuotes", "/opt/my calc/quenmark",
                                                   "Exec=\"/opt/my calc/quenmark\"", "Path=/opt/my calc/"},
                                           ExecRow{"DollarAndQuoteAreEscaped", "/opt/a$b\"c/quenmark",
                                                   "Exec=\"/opt/a\\\\$b\\\\\"c/quenmark\"",
                                                   "Path=/opt/a$b\"c/"},
                                           ExecRow{"PercentIsNoFieldCode", "/opt/100%/quenmark",
                                                   "Exec=\"/opt/100%%/quenmark\"", "Path=/opt/100%/"},
                                           ExecRow{"BackslashNeedsFour", "/opt/a\\b/quenmark",
                                                   "Exec=\"/opt/a\\\\\\\\b/quenmark\"", "Path=/opt/a\\\\b/"},
                                           ExecRow{"LineBreakStaysOnTheLine", "/opt/a\nb/quenmark",
                                                   "Exec=\"/opt/a\\nb/quenmark\"", "Path=/opt/a\\nb/"}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- creating, finding and deleting ----

TEST(CreateStartupShortcut, CreatesTheEntryAndItsDirectories) {
    TempDirectory home;
    const std::string path = GetStartupShortcutPath(home.Path());
    ASSERT_FALSE(std::filesystem::exists(path));

    ASSERT_TRUE(CreateStartupShortcut(home.Path(), "/opt/quenmark/quenmark"));
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(ReadTextFile(path), StartupShortcutText("/opt/quenmark/quenmark"));
    // The configuration directory it had to create is the user's alone.
    struct stat status {};
    ASSERT_EQ(stat((home.Path() + ".config").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // Found while it exists, gone once the path is deleted.
    ASSERT_TRUE(std::filesystem::remove(GetStartupShortcutPath(home.Path())));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CreateStartupShortcut, ReplacesAnExistingEntry) {
    TempDirectory home;
    ASSERT_TRUE(CreateStartupShortcut(home.Path(), "/old/quenmark"));
    const std::string path = GetStartupShortcutPath(home.Path());
    WriteTextFile(path, "[Desktop Entry]\nExec=something-else\n");

    ASSERT_TRUE(CreateStartupShortcut(home.Path(), "/new/quenmark"));
    EXPECT_EQ(ReadTextFile(path), StartupShortcutText("/new/quenmark"));
    // Nothing but the entry is left in the directory (no temporary files).
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(home.Path() + ".config/autostart")) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(StartupShortcutEntry, IsFoundWhileItExistsAndDeletedOnRequest) {
    TempDirectory home;
    EXPECT_FALSE(StartupShortcutExists(home.Path()));
    DeleteStartupShortcut(home.Path());  // nothing to delete is no failure
    ASSERT_TRUE(CreateStartupShortcut(home.Path(), "/opt/quenmark/quenmark"));
    EXPECT_TRUE(StartupShortcutExists(home.Path()));
    DeleteStartupShortcut(home.Path());
    EXPECT_FALSE(StartupShortcutExists(home.Path()));
    EXPECT_FALSE(std::filesystem::exists(GetStartupShortcutPath(home.Path())));
    EXPECT_TRUE(std::filesystem::is_directory(home.Path() + ".config/autostart")) << "only the entry goes";
    EXPECT_FALSE(StartupShortcutExists("")) << "no home, no entry";
}

TEST(CreateStartupShortcut, ReportsFailureAndWritesNothing) {
    TempDirectory home;
    EXPECT_FALSE(CreateStartupShortcut("", "/opt/quenmark/quenmark")) << "no home";
    EXPECT_FALSE(CreateStartupShortcut(home.Path(), "")) << "no program";
    EXPECT_FALSE(std::filesystem::exists(home.Path() + ".config"));

    // A file where the configuration directory belongs blocks the entry.
    WriteTextFile(home.File(".config"), "not a directory");
    EXPECT_FALSE(CreateStartupShortcut(home.Path(), "/opt/quenmark/quenmark"));
    EXPECT_EQ(ReadTextFile(home.File(".config")), "not a directory");
}

}  // namespace
}  // namespace quenmark
