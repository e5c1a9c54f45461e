// "@MOD" lists the loaded modules and the notices about those left out;
// calls into a module outside its functions are marked with its name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "vm/module_call_site.h"

namespace quenmark {
namespace {

using testing::ModuleDirectory;
using testing::ModuleSession;

TEST(ModuleListingTest, TheLoadedModulesComeWithTheirNamesThenTheNotices) {
    ModuleDirectory directory("listing");
    directory.CopyAll({"valid", "const_only"});
    ModuleSession session(directory.Path());
    session.Interpreter.SetModuleList(&session.Modules);
    session.Modules.AddNotice("left out: zz_plant.vmx");
    std::vector<std::string> lines = session.Run("@MOD");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "QEN433");
    EXPECT_EQ(lines.back(), "left out: zz_plant.vmx");
    std::sort(lines.begin() + 1, lines.end() - 1);
    EXPECT_EQ(lines[1], "  const_only.vmx\t : Test module");
    EXPECT_EQ(lines[2], "  valid.vmx\t : Test module");
    EXPECT_EQ(session.Run("@modules"), session.Run("@MOD"));
    EXPECT_EQ(session.Run("@MOD x"), std::vector<std::string>{"INT110"});
}

TEST(ModuleListingTest, WithoutModulesOnlyTheNoticesFollow) {
    ModuleDirectory directory("listing-empty");
    ModuleSession session(directory.Path());
    EXPECT_EQ(session.Run("@MOD"), std::vector<std::string>{"QEN434"}) << "no list set";
    session.Interpreter.SetModuleList(&session.Modules);
    session.Modules.AddNotice("folder refused");
    EXPECT_EQ(session.Run("@MOD"), (std::vector<std::string>{"QEN434", "folder refused"}));
}

TEST(ModuleCallSiteTest, ANamedCallTellsItsModuleAndWhetherItLoadsAndIsUndoneAfter) {
    TRunningModuleCall call;
    ASSERT_FALSE(RunningModuleCall(call));
    {
        const TNamedModuleCallScope loading("a.vmx", "Init", true);
        ASSERT_TRUE(RunningModuleCall(call));
        EXPECT_STREQ(call.Module, "a.vmx");
        EXPECT_STREQ(call.Function, "Init");
        EXPECT_TRUE(call.AtLoad);
        {
            const TNamedModuleCallScope asking("b.vmx", "GetModuleInfo", false);
            ASSERT_TRUE(RunningModuleCall(call));
            EXPECT_STREQ(call.Module, "b.vmx");
            EXPECT_FALSE(call.AtLoad);
        }
        ASSERT_TRUE(RunningModuleCall(call));
        EXPECT_STREQ(call.Module, "a.vmx");
        EXPECT_TRUE(call.AtLoad);
    }
    EXPECT_FALSE(RunningModuleCall(call));
}

TEST(ModuleCallSiteTest, AFunctionCallIsNeverTakenForALoad) {
    static const char entry = 0;
    NoteModuleEntry(&entry, "f.vmx");
    const TModuleCallScope scope(&entry, "Dispatch");
    TRunningModuleCall call;
    ASSERT_TRUE(RunningModuleCall(call));
    EXPECT_STREQ(call.Module, "f.vmx");
    EXPECT_STREQ(call.Function, "Dispatch");
    EXPECT_FALSE(call.AtLoad);
}

}  // namespace
}  // namespace quenmark
