#include "vm/module_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "platform/file_listing.h"
#include "vm/callable_list.h"
#include "vm/variable_list.h"

namespace quenmark {
namespace {

using testing::ControlOf;
using testing::ModuleDirectory;

int32_t NoOutput(const char*, int32_t) { return -1; }

class ModuleListTest : public ::testing::Test {
protected:
    std::vector<std::string> LoadedNames() const {
        std::vector<std::string> names;
        for (size_t i = 0; i < modules.Count(); ++i) names.push_back(modules[i].FileName());
        return names;
    }
    const TVMModule* Module(const std::string& fileName) const {
        for (size_t i = 0; i < modules.Count(); ++i)
            if (modules[i].FileName() == fileName) return &modules[i];
        return nullptr;
    }
    size_t IndexOf(const std::string& fileName) const {
        const std::vector<std::string> names = LoadedNames();
        return static_cast<size_t>(std::find(names.begin(), names.end(), fileName) - names.begin());
    }
    void Load(const ModuleDirectory& directory) {
        modules.LoadDirectory(context, directory.Path(), variables, callables, NoOutput);
    }

    TCCContext context;
    TVMModuleList modules;
    TVMVariableList variables;
    TVMCallableList callables;
};

TEST_F(ModuleListTest, LoadsTheValidModulesAndDropsEveryBrokenOne) {
    ModuleDirectory directory("every_rule");
    directory.CopyAll({"init_fail", "no_info", "null_info", "info_size_32", "null_type", "unknown_type",
                       "level_2", "both_level_1", "tokenizer_level_1", "tokenizer_no_entry", "no_tables",
                       "const_count_only", "func_no_table", "func_no_dispatcher", "valid", "const_only",
                       "tokenizer_a", "both_1a", "bad_tag"});
    directory.Copy("not_a_library");
    directory.Copy("funcs_only", "CAPITALS.VMX");       // the extension in any letter case
    directory.Copy("level_1a", ".hidden.vmx");          // hidden files are skipped
    directory.Copy("no_init", "library.so");            // other extensions are skipped
    directory.MakeDirectory("folder.vmx");              // so are directories
    Load(directory);

    const std::vector<std::string> loaded = LoadedNames();
    const std::set<std::string> expected = {"valid.vmx", "const_only.vmx", "tokenizer_a.vmx", "both_1a.vmx",
                                            "bad_tag.vmx", "CAPITALS.VMX"};
    EXPECT_EQ(std::set<std::string>(loaded.begin(), loaded.end()), expected);

    // In the order of their names, byte by byte, whatever order the
    // directory lists them in.
    std::vector<std::string> listed = ListFilesWithExtension(directory.Path(), ".vmx");
    std::erase_if(listed, [&](const std::string& name) { return !expected.contains(name); });
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(loaded, listed);
}

TEST_F(ModuleListTest, ModuleFailingWhileEnteringItsTablesStaysWithWhatItEntered) {
    ModuleDirectory directory("late_failure");
    directory.Copy("bad_tag");
    Load(directory);
    ASSERT_EQ(modules.Count(), 1u);
    EXPECT_NE(variables.Find("BeforeBad"), nullptr);
    EXPECT_EQ(variables.Find("AfterBad"), nullptr);
    // The remaining steps for that module do not run.
    EXPECT_EQ(callables.Count(), 0u);
    EXPECT_EQ(ControlOf(modules[0]).Output, nullptr);
}

TEST_F(ModuleListTest, EveryStepRunsForAModuleThatLoads) {
    ModuleDirectory directory("all_steps");
    directory.Copy("valid");
    Load(directory);
    ASSERT_EQ(modules.Count(), 1u);
    EXPECT_EQ(variables.Count(), 5u);
    EXPECT_EQ(callables.Count(), 4u);
    EXPECT_EQ(ControlOf(modules[0]).Output, &NoOutput);
    EXPECT_STREQ(ControlOf(modules[0]).CallLog,
                 "Init GetModuleInfo GetConstants GetConstantsNum GetFunctions GetFunctionsNum SetStdout ");
}

TEST_F(ModuleListTest, LaterModuleInTheListingWinsASharedConstantAndFunction) {
    ModuleDirectory directory("shared_names");
    directory.CopyAll({"dup_a", "dup_b"});
    Load(directory);
    ASSERT_EQ(modules.Count(), 2u);
    const bool aFirst = IndexOf("dup_a.vmx") < IndexOf("dup_b.vmx");
    const int32_t laterId = aFirst ? 2 : 1;
    const int32_t earlierId = aFirst ? 1 : 2;

    ASSERT_EQ(variables.Count(), 1u);
    EXPECT_EQ(variables[0].Name, laterId == 2 ? "DUP" : "dup");
    EXPECT_EQ(variables[0].Value, Variant(laterId));
    ASSERT_EQ(callables.Count(), 1u);
    EXPECT_EQ(callables[0].ArgCount, earlierId);
    std::vector<VMXValue> arguments(static_cast<size_t>(earlierId));
    VMXValue result{};
    ASSERT_EQ(callables[0].Invoke(&result, arguments.data()), 0);
    EXPECT_EQ(result.IntValue, laterId * 100 + earlierId);
}

TEST_F(ModuleListTest, DirectoryWithoutModulesOrMissingLoadsNothing) {
    ModuleDirectory directory("no_modules");
    directory.WriteFile("readme.txt", "no modules here");
    Load(directory);
    EXPECT_EQ(modules.Count(), 0u);
    modules.LoadDirectory(context, directory.Path() + "missing/", variables, callables, NoOutput);
    EXPECT_EQ(modules.Count(), 0u);
}

TEST_F(ModuleListTest, UserVariableBecomesConstantWhenAModuleDefinesIt) {
    ModuleDirectory directory("user_variable");
    directory.Copy("valid");
    variables.Add("realconst", Variant(int32_t{1}), false, true);
    Load(directory);
    const TVMVariable* variable = variables.Find("REALCONST");
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable->Name, "RealConst");
    EXPECT_EQ(variable->Value, Variant(2.5));
    EXPECT_TRUE(variable->IsConstant);
    EXPECT_TRUE(variable->IsProtected);
}

}  // namespace
}  // namespace quenmark
