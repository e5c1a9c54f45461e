#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "base/context.h"
#include "platform/user_account.h"
#include "settings_test_directory.h"

namespace quenmark {
namespace {

// A context of the test's own without a store: every read goes to the file.
const TCCContext Plain;

using test::SettingsText;
using test::TempDirectory;
using test::WriteTextFile;

std::string ConfigHomeVariable() {
    const char* value = std::getenv("XDG_CONFIG_HOME");
    return value ? value : "";
}

TEST(SettingsFileNameTest, BaseNameCarriesTheLoginName) {
    EXPECT_EQ(SettingsFileBaseName("alice"), "~alice.cfg");
    EXPECT_EQ(SettingsFileBaseName(""), "Quenmark.cfg");
}

TEST(SettingsFileNameTest, ChoiceOfDirectory) {
    const struct {
        const char* Behaviour;
        TSettingsLocation Location;
        const char* FileName;
    } rows[] = {
        {"beside a writable program", {"/opt/q/", true, "/home/alice", "alice"}, "/opt/q/~alice.cfg"},
        {"beside a writable program without login name", {"/opt/q/", true, "/home/alice", ""}, "/opt/q/Quenmark.cfg"},
        {"home configuration for an installed copy", {"/usr/lib/q/", false, "/home/alice", "alice"},
         "/home/alice/.config/quenmark/~alice.cfg"},
        {"home configuration without login name", {"/usr/lib/q/", false, "/home/bob", ""},
         "/home/bob/.config/quenmark/Quenmark.cfg"},
        {"home at the root directory", {"/usr/lib/q/", false, "/", "root"}, "/.config/quenmark/~root.cfg"},
        {"no home keeps the program directory", {"/usr/lib/q/", false, "", "alice"}, "/usr/lib/q/~alice.cfg"},
        {"configuration home named by the environment", {"/usr/lib/q/", false, "/home/alice", "alice", "/cfg/alice"},
         "/cfg/alice/quenmark/~alice.cfg"},
        {"configuration home without a home", {"/usr/lib/q/", false, "", "alice", "/cfg/"}, "/cfg/quenmark/~alice.cfg"},
        {"a relative configuration home is ignored", {"/usr/lib/q/", false, "/home/alice", "alice", "cfg"},
         "/home/alice/.config/quenmark/~alice.cfg"},
        {"configuration home unused beside a writable program", {"/opt/q/", true, "/home/alice", "alice", "/cfg"},
         "/opt/q/~alice.cfg"},
    };
    for (const auto& row : rows) EXPECT_EQ(ChooseSettingsFileName(row.Location), row.FileName) << row.Behaviour;
}

TEST(SettingsFileNameTest, LoginNameComesFromTheAccount) {
    EXPECT_EQ(GetLoginUserName(), LoginName());
    EXPECT_LE(GetLoginUserName().size(), 79u);
}

TEST(SettingsFileNameTest, WritableProgramDirectoryHoldsTheFile) {
    const TempDirectory dir;
    EXPECT_TRUE(IsDirectoryWritable(dir.Path()));
    EXPECT_EQ(GetSettingsFileName(dir.Path()), dir.Path() + SettingsFileBaseName(GetLoginUserName()));
}

TEST(SettingsFileNameTest, MissingDirectoryIsNotWritable) {
    const TempDirectory dir;
    EXPECT_FALSE(IsDirectoryWritable(dir.Path() + "missing/"));
    EXPECT_FALSE(IsDirectoryWritable(""));
}

TEST(SettingsFileNameTest, ReadOnlyProgramDirectoryUsesHomeConfiguration) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop the superuser; the choice is tested above";
    const TempDirectory dir;
    const std::string program = dir.Path() + "program/";
    ASSERT_EQ(mkdir(program.c_str(), 0555), 0);
    EXPECT_FALSE(IsDirectoryWritable(program));
    const std::string expected = FallbackSettingsDirectory(SettingsHomeDirectory(), ConfigHomeVariable()) +
                                 SettingsFileBaseName(GetLoginUserName());
    EXPECT_EQ(GetSettingsFileName(program), expected);
}

TEST(SettingsFileNameTest, InstalledCopyKeepsSettingsInTheHomeDirectory) {
    if (SettingsHomeDirectory().empty()) GTEST_SKIP() << "the account has no home directory";
    const TempDirectory dir;
    EXPECT_FALSE(IsInstalledCopy(dir.Path()));
    std::ofstream(dir.Path() + InstalledCopyMarker).put('\n');
    EXPECT_TRUE(IsInstalledCopy(dir.Path()));
    const std::string expected = FallbackSettingsDirectory(SettingsHomeDirectory(), ConfigHomeVariable()) +
                                 SettingsFileBaseName(GetLoginUserName());
    EXPECT_EQ(GetSettingsFileName(dir.Path()), expected);
}

// Sets an environment variable for one test and puts back what it was.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (FOld) setenv(FName, FOld->c_str(), 1);
        else unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(SettingsFileNameTest, TheHomeFolderFollowsHomeAndFallsBackToTheAccount) {
    {
        const ScopedEnvironment home("HOME", "/srv/elsewhere");
        EXPECT_EQ(SettingsHomeDirectory(), "/srv/elsewhere");
    }
    const ScopedEnvironment home("HOME", nullptr);
    EXPECT_EQ(SettingsHomeDirectory(), HomeDirectory());
}

TEST(SettingsFileNameTest, AFileBesideTheProgramIsReadUntilTheUsersOwnExists) {
    const TempDirectory dir;
    const std::string own = dir.Path() + "config/" + SettingsFileBaseName(GetLoginUserName());
    const std::string beside = dir.Path() + SettingsFileBaseName(GetLoginUserName());
    EXPECT_EQ(SettingsSourceFileName(Plain, own, dir.Path()), own) << "nothing beside the program";
    WriteTextFile(beside, "[Information]\r\nPurpose=Foreign\r\n");
    EXPECT_EQ(SettingsSourceFileName(Plain, own, dir.Path()), own) << "an invalid file beside the program";
    WriteTextFile(beside, SettingsText(""));
    EXPECT_EQ(SettingsSourceFileName(Plain, own, dir.Path()), beside);
    ASSERT_EQ(mkdir((dir.Path() + "config").c_str(), 0700), 0);
    WriteTextFile(own, SettingsText(""));
    EXPECT_EQ(SettingsSourceFileName(Plain, own, dir.Path()), own);
}

TEST(SettingsFileNameTest, AProgramDirectoryOthersCanWriteHoldsNoSettings) {
    const TempDirectory dir;
    const ScopedEnvironment config("XDG_CONFIG_HOME", (dir.Path() + "config").c_str());
    const std::string program = dir.Path() + "program/";
    const std::string own = dir.Path() + "config/quenmark/" + SettingsFileBaseName(GetLoginUserName());
    const std::string beside = program + SettingsFileBaseName(GetLoginUserName());
    ASSERT_EQ(mkdir(program.c_str(), 0755), 0);
    WriteTextFile(beside, SettingsText(""));
    EXPECT_EQ(GetSettingsFileName(program), beside);
    EXPECT_EQ(SettingsSourceFileName(Plain, own, program), beside);
    for (const mode_t mode : {0775u, 0777u, 01777u}) {
        ASSERT_EQ(chmod(program.c_str(), mode), 0);
        EXPECT_EQ(GetSettingsFileName(program), own) << std::oct << mode;
        EXPECT_EQ(SettingsSourceFileName(Plain, own, program), own) << "a file planted beside, mode " << std::oct << mode;
    }
}

TEST(SettingsFileNameTest, RunningProgramUsesItsOwnDirectory) {
    const std::string name = GetSettingsFileName();
    EXPECT_TRUE(name.ends_with("/" + SettingsFileBaseName(GetLoginUserName()))) << name;
}

TEST(SettingsFileValidTest, HeaderRows) {
    const struct {
        const char* Behaviour;
        const char* Text;
        bool Valid;
    } rows[] = {
        {"current version", "[Information]\nPurpose=Quenmark Version 1.1 User Settings File\n", true},
        {"previous version", "[Information]\nPurpose=Quenmark Version 1.0 User Settings File\n", true},
        {"blanks around the value", "[Information]\r\nPurpose =  Quenmark Version 1.1 User Settings File \r\n", true},
        {"quoted value", "[Information]\nPurpose=\"Quenmark Version 1.1 User Settings File\"\n", true},
        {"section and key in other letter case", "[INFORMATION]\npurpose=Quenmark Version 1.1 User Settings File\n",
         true},
        {"value in other letter case", "[Information]\nPurpose=Quenmark Version 1.1 User settings File\n", false},
        {"unknown version", "[Information]\nPurpose=Quenmark Version 1.2 User Settings File\n", false},
        {"another kind of file", "[Information]\nPurpose=Quenmark Version 1.1 Message File\n", false},
        {"header in another section", "[Others]\nPurpose=Quenmark Version 1.1 User Settings File\n", false},
        {"no header", "[Others]\nFontSize=9\n", false},
        {"empty file", "", false},
    };
    const TempDirectory dir;
    int index = 0;
    for (const auto& row : rows) {
        const std::string file = dir.File("header" + std::to_string(index++) + ".cfg");
        WriteTextFile(file, row.Text);
        EXPECT_EQ(IsSettingsFileValid(Plain, file), row.Valid) << row.Behaviour;
    }
    EXPECT_FALSE(IsSettingsFileValid(Plain, dir.File("missing.cfg"))) << "missing file";
}

}  // namespace
}  // namespace quenmark

namespace quenmark {
namespace {

TEST(DamagedSettingsFileTest, OnlyAFileThereThatIsNoSettingsFileIsDamaged) {
    const test::TempDirectory dir;
    const std::string purpose = "[Information]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n";
    const struct {
        const char* Behaviour;
        std::string Contents;  // empty: no file at all
        bool Damaged;
    } rows[] = {
        {"a missing file", "", false},
        {"a settings file", purpose + "[Variables]\r\n;01000000610300000001000001000000\r\n", false},
        {"after a byte-order mark", "\xEF\xBB\xBF" + purpose, false},
        {"with its purpose after the variables", "[Variables]\r\n;01\r\n[History]\r\n;02\r\n" + purpose, false},
        {"a purpose only inside the variables", "[Variables]\r\nPurpose=Quenmark Version 1.1 User Settings File\r\n", true},
        {"a script", "x = 1\ny = 2\n", true},
        {"another version's file", "[Information]\r\nPurpose=Quenmark Version 2.0 User Settings File\r\n", true},
    };
    for (const auto& row : rows) {
        const std::string path = dir.Path() + "file.cfg";
        unlink(path.c_str());
        if (!row.Contents.empty()) std::ofstream(path, std::ios::binary) << row.Contents;
        EXPECT_EQ(IsDamagedSettingsFile(path), row.Damaged) << row.Behaviour;
    }
    // A directory is not a file that could be set aside.
    EXPECT_FALSE(IsDamagedSettingsFile(dir.Path()));
}

}  // namespace
}  // namespace quenmark
