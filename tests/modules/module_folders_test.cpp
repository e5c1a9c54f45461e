#include "app/module_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/calculator_process.h"
#include "module_test_support.h"

namespace quenmark {
namespace {

namespace fs = std::filesystem;
using testing::ModuleDirectory;

TEST(ModuleFoldersTest, TheShippedThenTheLocalThenTheUsersFolderEachOnce) {
    using Folders = std::vector<TModuleFolder>;
    EXPECT_EQ(ModuleFolders("/opt/q/", "/usr/local/lib/quenmark/modules/", "/home/u", ""),
              (Folders{{"/opt/q/", false},
                       {"/usr/local/lib/quenmark/modules/", false},
                       {"/home/u/.local/share/quenmark/modules/", true}}));
    EXPECT_EQ(ModuleFolders("/opt/q", "/usr/local/m", "/home/u", "/data"),
              (Folders{{"/opt/q/", false}, {"/usr/local/m/", false}, {"/data/quenmark/modules/", true}}));
    // A relative $XDG_DATA_HOME is ignored; without a home there is no user folder.
    EXPECT_EQ(ModuleFolders("/opt/q/", "/l/", "/home/u", "data").back().Path, "/home/u/.local/share/quenmark/modules/");
    EXPECT_EQ(ModuleFolders("/opt/q/", "/l/", "", "").size(), 2u);
    // The program installed into the local folder reads it once, as shipped.
    EXPECT_EQ(ModuleFolders("/l/", "/l/", "", ""), (Folders{{"/l/", false}}));
}

// The user's folder: how it is made, and whether its modules may load.
struct UserFolderCase {
    const char* rule;
    mode_t mode;
    bool otherOwner;
    bool symbolicLink;
    bool usable;
};

class UserFolderTest : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(UserFolderTest, IsUsedOnlyWhenItIsTheUsersAndClosedToWritesOfOthers) {
    const UserFolderCase& row = GetParam();
    ModuleDirectory scratch(std::string("user_folder_") + row.rule);
    const std::string target = scratch.Path() + "modules";
    fs::create_directory(target);
    ASSERT_EQ(chmod(target.c_str(), row.mode), 0);
    if (row.otherOwner && chown(target.c_str(), 4242, 4242) != 0) GTEST_SKIP() << "giving a folder away needs root";
    std::string folder = target + "/";
    if (row.symbolicLink) {
        fs::create_directory_symlink(target, scratch.Path() + "link");
        folder = scratch.Path() + "link/";
    }
    EXPECT_EQ(IsUsableUserModuleFolder(folder), row.usable);
}

INSTANTIATE_TEST_SUITE_P(
    OwnerModeAndLink, UserFolderTest,
    ::testing::Values(UserFolderCase{"own_and_closed", 0755, false, false, true},
                      UserFolderCase{"own_and_private", 0700, false, false, true},
                      UserFolderCase{"group_can_write", 0775, false, false, false},
                      UserFolderCase{"others_can_write", 0757, false, false, false},
                      UserFolderCase{"sticky_and_open", 01777, false, false, false},
                      UserFolderCase{"another_users", 0755, true, false, false},
                      UserFolderCase{"symbolic_link_to_own_folder", 0755, false, true, false}),
    [](const ::testing::TestParamInfo<UserFolderCase>& row) { return std::string(row.param.rule); });

TEST(ModuleFoldersTest, AMissingUserFolderAndAFileAreNotUsable) {
    ModuleDirectory scratch("user_folder_missing");
    scratch.WriteFile("plain", "");
    EXPECT_FALSE(IsUsableUserModuleFolder(scratch.Path() + "absent/"));
    EXPECT_FALSE(IsUsableUserModuleFolder(scratch.Path() + "plain"));
}

TEST(ModuleFoldersTest, ModuleFilesComeByNameWhateverTheFolderOrder) {
    ModuleDirectory folder("by_name");
    for (const char* name : {"zeta.vmx", "Beta.vmx", "alpha.VMX", "alpha2.vmx", "note.txt", ".hidden.vmx"})
        folder.WriteFile(name, "");
    EXPECT_EQ(ModuleFileNames(folder.Path()),
              (std::vector<std::string>{"Beta.vmx", "alpha.VMX", "alpha2.vmx", "zeta.vmx"}));
}

// The process loads the folders in order; a file name taken by an earlier
// folder shadows the later module, and a user folder others can write
// gives nothing. Each left-out module is told with its path.
class ModuleFolderProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CACHE_HOME", (cache_.Path() + "cache").c_str(), 1);
        process_.LoadLanguages();
        process_.CreateInterpreter();
    }
    void TearDown() override { unsetenv("XDG_CACHE_HOME"); }
    std::string Line(const std::string& line) {
        TCCInterpreter& interpreter = process_.Interpreter();
        interpreter.OutputLines().clear();
        interpreter.ProcessLine(line);
        return interpreter.OutputLines().empty() ? std::string() : interpreter.OutputLines().front();
    }
    std::string Notices() {
        std::string all;
        for (const std::string& notice : process_.ModuleList().Notices()) all += notice + "\n";
        return all;
    }
    bool Noticed(const std::string& part) {
        for (const std::string& notice : process_.ModuleList().Notices())
            if (notice.find(part) != std::string::npos) return true;
        return false;
    }

    ModuleDirectory cache_{"folder_process_cache"};
    ModuleDirectory shipped_{"folder_process_shipped"};
    ModuleDirectory local_{"folder_process_local"};
    ModuleDirectory user_{"folder_process_user"};
    TCalculatorProcess process_{cache_.Path() + "quenmark.ini"};
};

TEST_F(ModuleFolderProcessTest, TheFirstFolderToGiveAFileNameWins) {
    shipped_.Copy("valid", "same.vmx");   // WHO() is 1
    local_.Copy("dup_b", "same.vmx");     // WHO() would be 2
    local_.Copy("tokenizer_a", "a_tokens.vmx");
    user_.Copy("funcs_only", "mine.vmx");
    chmod(user_.Path().c_str(), 0755);
    process_.SetModuleFolderList({{shipped_.Path(), false}, {local_.Path(), false}, {user_.Path(), true}});
    process_.LoadModules();

    std::vector<std::string> loaded;
    for (size_t i = 0; i < process_.ModuleList().Count(); ++i) loaded.push_back(process_.ModuleList()[i].FileName());
    EXPECT_EQ(loaded, (std::vector<std::string>{"same.vmx", "a_tokens.vmx", "mine.vmx"}));
    EXPECT_EQ(Line("WHO()"), "1");
    EXPECT_EQ(Notices(), process_.Context().GetTextWith("QEN471", local_.Path() + "same.vmx") + "\n");
}

TEST_F(ModuleFolderProcessTest, AUserFolderOthersCanWriteGivesNoModule) {
    user_.Copy("valid", "mine.vmx");
    chmod(user_.Path().c_str(), 0777);
    process_.SetModuleFolderList({{shipped_.Path(), false}, {user_.Path(), true}});
    process_.LoadModules();
    EXPECT_EQ(process_.ModuleList().Count(), 0u);
    EXPECT_EQ(Notices(), process_.Context().GetTextWith("QEN470", user_.Path()) + "\n");
}

TEST_F(ModuleFolderProcessTest, ABrokenModuleIsNamedWithItsReason) {
    shipped_.CopyAll({"no_info", "valid"});
    shipped_.Copy("not_a_library");
    process_.SetModuleFolderList({{shipped_.Path(), false}});
    process_.LoadModules();
    EXPECT_EQ(process_.ModuleList().Count(), 1u);
    const TCCContext& context = process_.Context();
    EXPECT_TRUE(Noticed(context.GetTextWith("CVM101", "no_info.vmx")));
    // The system's reason follows the message for a file it cannot load.
    EXPECT_TRUE(Noticed(context.GetTextWith("CVM100", "not_a_library.vmx") + " (")) << context.GetText("CVM100");
    // "@MOD" lists both after the loaded module.
    TCCInterpreter& interpreter = process_.Interpreter();
    interpreter.OutputLines().clear();
    interpreter.ProcessLine("@MOD");
    const std::vector<std::string>& lines = interpreter.OutputLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].substr(0, 11), "  valid.vmx");
    EXPECT_EQ(lines[2], context.GetTextWith("CVM101", "no_info.vmx"));
}

}  // namespace
}  // namespace quenmark
