#include "vm/vm_module.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string_view>

#include "vm/callable_list.h"
#include "base/exception.h"
#include "vm/module_call_site.h"
#include "vm/variable_list.h"
#include "vm/vmx_value.h"

namespace quenmark {

namespace {

constexpr std::string_view FunctionsType = "Func&Const";
constexpr std::string_view TokenizerType = "Tokenizer";

// dlopen searches the library path for a name without a slash, so the
// module is always named by its absolute path.

bool Contains(const char* text, std::string_view word) {
    return std::string_view(text).find(word) != std::string_view::npos;
}

bool IsLevel(const char* level, const char* expected) { return std::strcmp(level, expected) == 0; }

bool HasEveryText(const VMXModuleInfo& info) {
    return info.Name && info.Comment && info.ModuleType && info.InterpreterLevel && info.Author &&
           info.Copyright;
}

// The next record of a module table; tables are walked by each record's own
// Size. A size that does not move forward ends the walk.
const uint8_t* NextRecord(const uint8_t* record, int32_t size) {
    return size > 0 ? record + size : nullptr;
}

}  // namespace

// dlopen searches the library path for a name without a slash, so the
// module is always named by its absolute path.
std::string TVMModule::PathOf(const std::string& directory, const std::string& fileName) {
    const std::filesystem::path path = std::filesystem::path(directory) / fileName;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path.string() : absolute.string();
}

void TVMModule::LibraryCloser::operator()(void* handle) const {
    if (handle) dlclose(handle);
}

TVMModule::TVMModule(const TCCContext& context, const std::string& directory, const std::string& fileName)
    : FContext(context), FFileName(fileName) {
    Open(directory);
    FInit = Lookup<VMXInitProc>("Init");
    FSetStdout = Lookup<VMXSetStdoutProc>("SetStdout");
    FGetModuleInfo = Lookup<VMXGetModuleInfoProc>("GetModuleInfo");

    // "Init" runs before the information record is read.
    RunInit();
    // The record and its texts lie in the module's memory: reading them is
    // a call into the module as much as asking for them.
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetModuleInfo", true);
    const VMXModuleInfo& info = CheckedModuleInfo();
    const bool functions = Contains(info.ModuleType, FunctionsType);
    const bool tokenizer = Contains(info.ModuleType, TokenizerType);
    if (functions) CheckFunctionsAndConstants(info);
    if (tokenizer) CheckTokenizer(info);
    if (!functions && !tokenizer) Fail("CVM102");
}

TVMModule::~TVMModule() = default;

template <typename Entry>
Entry TVMModule::Lookup(const char* name) const {
    return reinterpret_cast<Entry>(dlsym(FHandle.get(), name));
}

void TVMModule::Fail(const char* code) const {
    throw EVMModuleFailure(FContext.GetTextWith(code, FFileName), code, std::string());
}

// The library's own initialisers run inside dlopen.
void TVMModule::Open(const std::string& directory) {
    const std::string path = PathOf(directory, FFileName);
    {
        const TNamedModuleCallScope scope(FFileName.c_str(), "dlopen", true);
        FHandle.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    }
    if (!FHandle) {
        const char* reason = dlerror();
        throw EVMModuleFailure(FContext.GetTextWith("CVM100", FFileName), "CVM100", reason ? reason : "");
    }
}

void TVMModule::RunInit() const {
    if (!FInit) return;
    int32_t result = 0;
    {
        const TNamedModuleCallScope scope(FFileName.c_str(), "Init", true);
        result = FInit();
    }
    if (result != vmxSuccess) Fail("CVM106");
}

const VMXModuleInfo& TVMModule::CheckedModuleInfo() const {
    if (!FGetModuleInfo) Fail("CVM101");
    const VMXModuleInfo* info = FGetModuleInfo();
    if (!info || info->Size != static_cast<int32_t>(sizeof(VMXModuleInfo))) Fail("CVM101");
    if (!HasEveryText(*info)) Fail("CVM101");
    return *info;
}

void TVMModule::CheckFunctionsAndConstants(const VMXModuleInfo& info) {
    if (!IsLevel(info.InterpreterLevel, "1") && !IsLevel(info.InterpreterLevel, "1A")) Fail("CVM103");
    FGetConstantsNum = Lookup<VMXGetCountProc>("GetConstantsNum");
    FGetConstants = Lookup<VMXGetConstantsProc>("GetConstants");
    FGetFunctionsNum = Lookup<VMXGetCountProc>("GetFunctionsNum");
    FGetFunctions = Lookup<VMXGetFunctionsProc>("GetFunctions");
    FFunctionDispatcher = Lookup<VMXFunctionDispatcher>("FunctionDispatcher");
    if (FGetConstantsNum && !FGetConstants) Fail("CVM101");
    if (FGetFunctionsNum && (!FGetFunctions || !FFunctionDispatcher)) Fail("CVM101");
    if (!FGetConstantsNum && !FGetFunctionsNum) Fail("CVM101");
    NoteModuleEntry(reinterpret_cast<const void*>(FFunctionDispatcher), FFileName);
}

void TVMModule::CheckTokenizer(const VMXModuleInfo& info) {
    if (!IsLevel(info.InterpreterLevel, "1A")) Fail("CVM103");
    FGetNextToken = Lookup<VMXGetNextTokenProc>("GetNextToken");
    if (!FGetNextToken) Fail("CVM101");
    NoteModuleEntry(reinterpret_cast<const void*>(FGetNextToken), FFileName);
    ReadTokenStarts();
}

// A tokenizer without the export, or one that returns no list, is asked
// everywhere. The list is read once, while the module loads.
void TVMModule::ReadTokenStarts() {
    const auto getStarts = Lookup<VMXGetTokenStartsProc>("GetTokenStarts");
    const char* starts = nullptr;
    if (getStarts) {
        const TNamedModuleCallScope scope(FFileName.c_str(), "GetTokenStarts", true);
        starts = getStarts();
        if (starts) FTokenStartText = starts;
    }
    FDeclaresTokenStarts = starts != nullptr;
    if (!starts) return static_cast<void>(FTokenStarts.set());
    for (const char c : FTokenStartText) FTokenStarts.set(static_cast<unsigned char>(c));
}

void TVMModule::LoadConstants(TVMVariableList& variables, TModuleOffer* offer) const {
    if (!HasConstants()) return;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetConstants", true);
    const auto* record = reinterpret_cast<const uint8_t*>(FGetConstants());
    const int32_t count = FGetConstantsNum();
    if (count > 0 && !record) Fail("CVM101");
    for (int32_t i = 0; i < count && record; ++i) {
        const auto& constant = *reinterpret_cast<const VMXConstant*>(record);
        const int32_t size = constant.Size;
        if (size == static_cast<int32_t>(sizeof(VMXConstant))) {
            if (!constant.Name || !constant.Description) Fail("CVM101");
            const VMXValue& value = constant.Value;
            if (value.ValueType != vmxInteger && value.ValueType != vmxReal && value.ValueType != vmxString)
                Fail("CVM104");
            if (value.ValueType == vmxString && value.StrLength > 0 && !value.StrValue) Fail("CVM101");
            const TVMVariable& entered = variables.RegisterConstant(constant.Name, VMXToVariant(value));
            if (offer) offer->Constants.push_back({constant.Name, constant.Description, entered.Value});
        }
        record = NextRecord(record, size);
    }
}

void TVMModule::LoadFunctions(TVMCallableList& callables, TModuleOffer* offer) const {
    if (!HasFunctions()) return;
    if (offer) offer->FunctionsEntered = true;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetFunctions", true);
    const auto* record = reinterpret_cast<const uint8_t*>(FGetFunctions());
    const int32_t count = FGetFunctionsNum();
    if (count > 0 && !record) Fail("CVM101");
    for (int32_t i = 0; i < count && record; ++i) {
        const auto& function = *reinterpret_cast<const VMXFunction*>(record);
        const int32_t size = function.Size;
        if (size == static_cast<int32_t>(sizeof(VMXFunction))) {
            if (!function.Name || !function.Description) Fail("CVM101");
            callables.RegisterFunction(function.Name, FFunctionDispatcher, function.Description, function.ArgCount,
                                       FOrder);
            if (offer) offer->Functions.push_back({function.Name, function.Description, function.ArgCount});
        }
        record = NextRecord(record, size);
    }
}

void TVMModule::ConnectOutput(VMXOutputProc output) const {
    if (!FSetStdout) return;
    const TNamedModuleCallScope scope(FFileName.c_str(), "SetStdout", true);
    FSetStdout(output);
}

// The texts were checked while the module loaded.
void TVMModule::DescribeIn(TModuleOffer& offer) const {
    offer.Loads = true;
    if (const VMXModuleInfo* info = ModuleInfo()) {
        const TNamedModuleCallScope scope(FFileName.c_str(), "GetModuleInfo", false);
        const auto text = [](const char* value) { return std::string(value ? value : ""); };
        offer.Info = {text(info->Name),   text(info->Comment), text(info->ModuleType), text(info->InterpreterLevel),
                      text(info->Author), text(info->Copyright)};
    }
    offer.Tokenizer = HasTokenizer();
    offer.DeclaresTokenStarts = FDeclaresTokenStarts;
    offer.TokenStarts = FTokenStartText;
}

const VMXModuleInfo* TVMModule::ModuleInfo() const {
    if (!FGetModuleInfo) return nullptr;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetModuleInfo", false);
    return FGetModuleInfo();
}

int32_t TVMModule::ConstantCount() const {
    if (!HasConstants()) return 0;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetConstantsNum", false);
    return FGetConstantsNum();
}

const VMXConstant* TVMModule::Constants() const {
    if (!HasConstants()) return nullptr;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetConstants", false);
    return FGetConstants();
}

int32_t TVMModule::FunctionCount() const {
    if (!HasFunctions()) return 0;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetFunctionsNum", false);
    return FGetFunctionsNum();
}

const VMXFunction* TVMModule::Functions() const {
    if (!HasFunctions()) return nullptr;
    const TNamedModuleCallScope scope(FFileName.c_str(), "GetFunctions", false);
    return FGetFunctions();
}

}  // namespace quenmark
