#include "vm/vm_module.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "module_test_support.h"
#include "support/echo_messages.h"
#include "vm/callable_list.h"
#include "base/exception.h"
#include "vm/variable_list.h"

namespace quenmark {
namespace {

using testing::ControlOf;
using testing::IsLibraryLoaded;
using testing::TestModuleDirectory;

// The context the modules of these tests are loaded with: a failure reads
// "CODE: file name".
const testing::EchoContext Echo;

std::unique_ptr<TVMModule> Load(const std::string& module) {
    return std::make_unique<TVMModule>(Echo, TestModuleDirectory(), module + ".vmx");
}

int32_t NoOutput(const char*, int32_t) { return -1; }

struct RejectedModule {
    const char* rule;
    const char* module;
    const char* code;
};

class RejectedModuleTest : public ::testing::TestWithParam<RejectedModule> {};

TEST_P(RejectedModuleTest, FailsWithItsCodeAndReleasesTheLibrary) {
    const RejectedModule& row = GetParam();
    const std::string fileName = std::string(row.module) + ".vmx";
    try {
        TVMModule module(Echo, TestModuleDirectory(), fileName);
        FAIL() << fileName << " loaded";
    } catch (const EVMError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(row.code) + ": " + fileName);
    }
    EXPECT_FALSE(IsLibraryLoaded(TestModuleDirectory() + fileName));
}

INSTANTIATE_TEST_SUITE_P(
    LoadingRules, RejectedModuleTest,
    ::testing::Values(
        RejectedModule{"missing_file", "missing", "CVM100"},
        RejectedModule{"file_that_is_no_library", "not_a_library", "CVM100"},
        RejectedModule{"init_reports_one", "init_fail", "CVM106"},
        RejectedModule{"init_reports_minus_one", "init_fail_other", "CVM106"},
        RejectedModule{"no_module_information", "no_info", "CVM101"},
        RejectedModule{"null_module_information", "null_info", "CVM101"},
        RejectedModule{"information_of_32_bytes", "info_size_32", "CVM101"},
        RejectedModule{"information_of_64_bytes", "info_size_64", "CVM101"},
        RejectedModule{"null_module_type", "null_type", "CVM101"},
        RejectedModule{"null_comment", "null_comment", "CVM101"},
        RejectedModule{"type_names_neither_kind", "unknown_type", "CVM102"},
        RejectedModule{"type_in_small_letters", "lower_case_type", "CVM102"},
        RejectedModule{"functions_at_level_2", "level_2", "CVM103"},
        RejectedModule{"level_with_trailing_blank", "level_trailing_blank", "CVM103"},
        RejectedModule{"level_1a_in_small_letters", "level_lower_case", "CVM103"},
        RejectedModule{"both_kinds_at_level_1", "both_level_1", "CVM103"},
        RejectedModule{"tokenizer_at_level_1", "tokenizer_level_1", "CVM103"},
        RejectedModule{"tokenizer_without_entry", "tokenizer_no_entry", "CVM101"},
        RejectedModule{"functions_and_constants_without_tables", "no_tables", "CVM101"},
        RejectedModule{"constant_count_without_table", "const_count_only", "CVM101"},
        RejectedModule{"function_count_without_table", "func_no_table", "CVM101"},
        RejectedModule{"functions_without_dispatcher", "func_no_dispatcher", "CVM101"}),
    [](const ::testing::TestParamInfo<RejectedModule>& row) { return std::string(row.param.rule); });

struct AcceptedModule {
    const char* rule;
    const char* module;
    bool constants;
    bool functions;
    bool tokenizer;
};

class AcceptedModuleTest : public ::testing::TestWithParam<AcceptedModule> {};

TEST_P(AcceptedModuleTest, LoadsWithTheKindsItOffers) {
    const AcceptedModule& row = GetParam();
    auto module = Load(row.module);
    EXPECT_EQ(module->FileName(), std::string(row.module) + ".vmx");
    EXPECT_EQ(module->HasConstants(), row.constants);
    EXPECT_EQ(module->HasFunctions(), row.functions);
    EXPECT_EQ(module->HasTokenizer(), row.tokenizer);
    ASSERT_NE(module->ModuleInfo(), nullptr);
    EXPECT_STREQ(module->ModuleInfo()->Name, "Test module");
}

INSTANTIATE_TEST_SUITE_P(
    LoadingRules, AcceptedModuleTest,
    ::testing::Values(AcceptedModule{"functions_and_constants", "valid", true, true, false},
                      AcceptedModule{"without_init", "no_init", true, true, false},
                      AcceptedModule{"functions_at_level_1a", "level_1a", true, true, false},
                      AcceptedModule{"constants_only", "const_only", true, false, false},
                      AcceptedModule{"functions_only", "funcs_only", false, true, false},
                      AcceptedModule{"both_kinds_at_level_1a", "both_1a", true, true, true},
                      // A tokenizer's other exports are not looked up.
                      AcceptedModule{"tokenizer_only", "tokenizer_a", false, false, true}),
    [](const ::testing::TestParamInfo<AcceptedModule>& row) { return std::string(row.param.rule); });

TEST(ModuleLoadingTest, InitRunsBeforeTheInformationIsRead) {
    auto module = Load("valid");
    EXPECT_EQ(std::string(ControlOf(*module).CallLog).rfind("Init GetModuleInfo ", 0), 0u)
        << ControlOf(*module).CallLog;
}

TEST(ModuleLoadingTest, LibraryStaysLoadedUntilTheModuleIsDestroyed) {
    const std::string path = TestModuleDirectory() + "valid.vmx";
    auto module = Load("valid");
    EXPECT_TRUE(IsLibraryLoaded(path));
    module.reset();
    EXPECT_FALSE(IsLibraryLoaded(path));
}

TEST(ModuleLoadingTest, DirectoryMayLackItsTrailingSlash) {
    std::string directory = TestModuleDirectory();
    directory.pop_back();
    TVMModule module(Echo, directory, "valid.vmx");
    EXPECT_EQ(module.FileName(), "valid.vmx");
}

TEST(ModuleLoadingTest, BareNameIsNotLookedUpInTheLibraryPath) {
    // dlopen would find the C library by this name; a module is only ever
    // loaded from its directory.
    EXPECT_THROW(TVMModule(Echo, "", "libc.so.6"), EVMError);
}

TEST(ModuleConstantsTest, EntersEveryValueKind) {
    auto module = Load("valid");
    TVMVariableList variables;
    module->LoadConstants(variables);
    ASSERT_EQ(variables.Count(), 5u);
    EXPECT_EQ(variables[0].Name, "IntConst");
    EXPECT_EQ(variables[0].Value, Variant(int32_t{42}));
    EXPECT_EQ(variables.Find("REALCONST")->Value, Variant(2.5));
    EXPECT_EQ(variables.Find("strconst")->Value, Variant(std::string("hello")));  // ends at its zero byte
    EXPECT_EQ(variables.Find("CutConst")->Value, Variant(std::string("abc")));    // cut to StrLength
    EXPECT_EQ(variables.Find("EmptyConst")->Value, Variant(std::string()));
    for (size_t i = 0; i < variables.Count(); ++i) {
        EXPECT_TRUE(variables[i].IsConstant) << variables[i].Name;
        EXPECT_TRUE(variables[i].IsProtected) << variables[i].Name;
    }
}

TEST(ModuleConstantsTest, AsksForTheTableBeforeTheCount) {
    auto module = Load("valid");
    TestControl& control = ControlOf(*module);
    control.CallLog[0] = '\0';
    TVMVariableList variables;
    module->LoadConstants(variables);
    EXPECT_STREQ(control.CallLog, "GetConstants GetConstantsNum ");
}

TEST(ModuleConstantsTest, ConstantMakesAUserVariableConstantInTheModulesSpelling) {
    auto module = Load("valid");
    TVMVariableList variables;
    variables.Add("intconst", Variant(int32_t{1}));
    module->LoadConstants(variables);
    const TVMVariable& variable = variables[0];
    EXPECT_EQ(variable.Name, "IntConst");
    EXPECT_EQ(variable.Value, Variant(int32_t{42}));
    EXPECT_TRUE(variable.IsConstant);
    EXPECT_FALSE(variable.IsProtected);
}

TEST(ModuleConstantsTest, RecordOfAnotherSizeIsSkippedAndTheNextFollowsItsSize) {
    auto module = Load("odd_sizes");
    TVMVariableList variables;
    module->LoadConstants(variables);
    ASSERT_EQ(variables.Count(), 2u);
    EXPECT_EQ(variables[0].Name, "FirstConst");
    EXPECT_EQ(variables[1].Name, "ThirdConst");
    EXPECT_EQ(variables[1].Value, Variant(int32_t{3}));
}

struct BrokenTable {
    const char* rule;
    const char* module;
    const char* code;
    const char* entered;  // the constant entered before the failure
};

class BrokenConstantTableTest : public ::testing::TestWithParam<BrokenTable> {};

TEST_P(BrokenConstantTableTest, StopsAtTheBrokenRecordKeepingTheEarlierOnes) {
    const BrokenTable& row = GetParam();
    auto module = Load(row.module);
    TVMVariableList variables;
    try {
        module->LoadConstants(variables);
        FAIL() << "no failure";
    } catch (const EVMError& error) {
        EXPECT_EQ(std::string(error.what()), std::string(row.code) + ": " + row.module + ".vmx");
    }
    ASSERT_EQ(variables.Count(), row.entered ? 1u : 0u);
    if (row.entered) {
        EXPECT_EQ(variables[0].Name, row.entered);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Constants, BrokenConstantTableTest,
    ::testing::Values(BrokenTable{"unknown_value_tag", "bad_tag", "CVM104", "BeforeBad"},
                      BrokenTable{"null_name", "null_const_name", "CVM101", "Named"},
                      BrokenTable{"null_table", "null_const_table", "CVM101", nullptr}),
    [](const ::testing::TestParamInfo<BrokenTable>& row) { return std::string(row.param.rule); });

TEST(ModuleFunctionsTest, EntersEveryFunctionWithTheModulesDispatcher) {
    auto module = Load("valid");
    TVMCallableList callables;
    module->LoadFunctions(callables);
    ASSERT_EQ(callables.Count(), 4u);
    EXPECT_EQ(callables[0].Name, "Status");
    EXPECT_EQ(callables[0].ArgCount, 1);
    EXPECT_EQ(callables[0].Description, "test function");
    EXPECT_EQ(callables[3].Name, "Who");
    EXPECT_EQ(callables[3].ArgCount, 0);
    const void* dispatcher = dlsym(module->Handle(), "FunctionDispatcher");
    for (size_t i = 0; i < callables.Count(); ++i)
        EXPECT_EQ(reinterpret_cast<const void*>(callables[i].Dispatcher), dispatcher);

    VMXValue result{};
    EXPECT_EQ(callables.Find("WHO")->Invoke(&result, nullptr), 0);
    EXPECT_EQ(result.IntValue, 1);
}

TEST(ModuleFunctionsTest, RecordOfAnotherSizeIsSkippedAndTheNextFollowsItsSize) {
    auto module = Load("odd_sizes");
    TVMCallableList callables;
    module->LoadFunctions(callables);
    ASSERT_EQ(callables.Count(), 2u);
    EXPECT_EQ(callables[0].Name, "FirstFn");
    EXPECT_EQ(callables[1].Name, "ThirdFn");
}

TEST(ModuleFunctionsTest, NullNameStopsTheTableKeepingTheEarlierOnes) {
    auto module = Load("null_func_name");
    TVMCallableList callables;
    EXPECT_THROW(module->LoadFunctions(callables), EVMError);
    ASSERT_EQ(callables.Count(), 1u);
    EXPECT_EQ(callables[0].Name, "Who");
}

TEST(ModuleFunctionsTest, ModulesWithoutTablesEnterNothing) {
    auto module = Load("tokenizer_a");
    TVMVariableList variables;
    TVMCallableList callables;
    module->LoadConstants(variables);
    module->LoadFunctions(callables);
    EXPECT_EQ(variables.Count(), 0u);
    EXPECT_EQ(callables.Count(), 0u);
}

TEST(SharedNamesTest, LaterModuleWinsConstantAndCallsButNotTheArgumentCount) {
    auto first = Load("dup_a");
    auto second = Load("dup_b");
    TVMVariableList variables;
    TVMCallableList callables;
    for (const TVMModule* module : {first.get(), second.get()}) {
        module->LoadConstants(variables);
        module->LoadFunctions(callables);
    }
    ASSERT_EQ(variables.Count(), 1u);
    EXPECT_EQ(variables[0].Name, "DUP");
    EXPECT_EQ(variables[0].Value, Variant(int32_t{2}));
    ASSERT_EQ(callables.Count(), 1u);
    EXPECT_EQ(callables[0].Name, "TWIN");
    EXPECT_EQ(callables[0].ArgCount, 1);
    VMXValue result{};
    VMXValue argument{};
    argument.ValueType = vmxInteger;
    ASSERT_EQ(callables[0].Invoke(&result, &argument), 0);
    EXPECT_EQ(result.IntValue, 201);  // the second module, called with the first one's count
}

TEST(ModuleOutputConnectionTest, HandsTheCallbackToTheModule) {
    auto module = Load("valid");
    module->ConnectOutput(NoOutput);
    EXPECT_EQ(ControlOf(*module).Output, &NoOutput);
}

}  // namespace
}  // namespace quenmark
