// The entry points the math and numbers modules share: a module names its
// tables once and gets the entry points the program looks up, the
// constants ones only when it has constants; the function records mirror
// its entries whether Init ran or not, and the dispatcher reaches each
// entry by name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "vm/vmx.h"

namespace quenmark {
namespace {

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

Library OpenTestModule(const std::string& name) {
    return Library(dlopen((testing::TestModuleDirectory() + name + ".vmx").c_str(), RTLD_NOW | RTLD_LOCAL));
}

template <typename Procedure>
Procedure Lookup(const Library& library, const char* name) {
    return reinterpret_cast<Procedure>(dlsym(library.get(), name));
}

struct ExportRow {
    const char* module;
    bool hasConstants;
};

TEST(TableModuleTest, ExportsTheEntryPointsOfItsTables) {
    const char* always[] = {"Init", "GetModuleInfo", "GetFunctionsNum", "GetFunctions", "FunctionDispatcher"};
    const char* constants[] = {"GetConstantsNum", "GetConstants"};
    for (const ExportRow& row : {ExportRow{"table_functions", false}, ExportRow{"table_constants", true}}) {
        SCOPED_TRACE(row.module);
        const Library library = OpenTestModule(row.module);
        ASSERT_TRUE(library) << dlerror();
        for (const char* name : always) EXPECT_NE(dlsym(library.get(), name), nullptr) << name;
        for (const char* name : constants) EXPECT_EQ(dlsym(library.get(), name) != nullptr, row.hasConstants) << name;
        EXPECT_EQ(dlsym(library.get(), "SetStdout"), nullptr);
        EXPECT_EQ(dlsym(library.get(), "GetNextToken"), nullptr);
    }
}

TEST(TableModuleTest, FunctionRecordsMirrorTheEntriesBeforeInit) {
    const Library library = OpenTestModule("table_functions");
    ASSERT_TRUE(library) << dlerror();
    const auto count = Lookup<VMXGetCountProc>(library, "GetFunctionsNum")();
    const VMXFunction* records = Lookup<VMXGetFunctionsProc>(library, "GetFunctions")();
    ASSERT_EQ(count, 2);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records[0].Size, static_cast<int32_t>(sizeof(VMXFunction)));
    EXPECT_STREQ(records[0].Name, "HALF");
    EXPECT_STREQ(records[0].Description, "HALF(x): x / 2");
    EXPECT_EQ(records[0].ArgCount, 1);
    EXPECT_EQ(records[1].Size, static_cast<int32_t>(sizeof(VMXFunction)));
    EXPECT_STREQ(records[1].Name, "SUM");
    EXPECT_EQ(records[1].ArgCount, 2);
    EXPECT_EQ(Lookup<VMXInitProc>(library, "Init")(), vmxSuccess);
    EXPECT_STREQ(Lookup<VMXGetFunctionsProc>(library, "GetFunctions")()[1].Description, "SUM(a, b): a + b");
}

TEST(TableModuleTest, InformationAndConstantsAreTheModulesOwn) {
    const Library library = OpenTestModule("table_constants");
    ASSERT_TRUE(library) << dlerror();
    const VMXModuleInfo* info = Lookup<VMXGetModuleInfoProc>(library, "GetModuleInfo")();
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->Name, "Table");
    ASSERT_EQ(Lookup<VMXGetCountProc>(library, "GetConstantsNum")(), 2);
    const VMXConstant* constants = Lookup<VMXGetConstantsProc>(library, "GetConstants")();
    EXPECT_STREQ(constants[0].Name, "SEVEN");
    EXPECT_STREQ(constants[1].Name, "HALF_ONE");
    const double half = constants[1].Value.RealValue;
    EXPECT_EQ(half, 0.5);
}

struct CallRow {
    const char* name;
    std::vector<double> args;
    int32_t status;
    double value;
};

TEST(TableModuleTest, TheDispatcherRunsTheEntryOfTheName) {
    const Library library = OpenTestModule("table_functions");
    ASSERT_TRUE(library) << dlerror();
    const auto dispatch = Lookup<VMXFunctionDispatcher>(library, "FunctionDispatcher");
    const CallRow rows[] = {
        {"HALF", {9}, vmxSuccess, 4.5},
        {"SUM", {2, 3}, vmxSuccess, 5},
        {"HALF", {1, 2}, vmxFailure5, 0},
        {"TWICE", {1}, vmxFailure5, 0},
    };
    for (const CallRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<VMXValue> args;
        for (double number : row.args) {
            VMXValue arg{};
            arg.ValueType = vmxReal;
            arg.RealValue = number;
            args.push_back(arg);
        }
        VMXValue result{};
        ASSERT_EQ(dispatch(row.name, &result, args.data(), static_cast<int32_t>(args.size())), row.status);
        if (row.status != vmxSuccess) continue;
        const double value = result.RealValue;
        EXPECT_EQ(value, row.value);
    }
}

}  // namespace
}  // namespace quenmark
