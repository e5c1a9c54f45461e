#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "base/context.h"
#include "base/exception.h"
#include "vm/module_call_site.h"
#include "vm/module_offer.h"
#include "vm/vmx.h"

namespace quenmark {

class TVMCallableList;
class TVMVariableList;

// A module that broke a rule: the message, its code (CVM100 to CVM106),
// and for a library the system refused to load, the system's own words on
// why (dlerror) for the module's author.
class EVMModuleFailure : public EVMError {
public:
    EVMModuleFailure(const std::string& message, std::string code, std::string reason)
        : EVMError(message), FCode(std::move(code)), FReason(std::move(reason)) {}
    const std::string& Code() const { return FCode; }
    const std::string& Reason() const { return FReason; }

private:
    std::string FCode;
    std::string FReason;
};

// The characters a tokenizer's tokens may start with, by byte value.
using TTokenStarts = std::bitset<256>;

// One loaded extension module: a shared library with the ".vmx" extension.
// The constructor loads and checks it; the library stays loaded until the
// object is destroyed. Every failure is an EVMError whose message, looked up
// in the context the module is loaded with, names the module's file name.
// Every call into the module's code, its library initialisers included, is
// marked with the module's name (vm/module_call_site.h): those made by the
// constructor, LoadConstants, LoadFunctions and ConnectOutput as made while
// the module loads.
class TVMModule {
public:
    // Loads fileName from the directory and checks that the library is a
    // valid module. The context must outlive the module.
    TVMModule(const TCCContext& context, const std::string& directory, const std::string& fileName);
    // The absolute path a module of the directory is loaded from.
    static std::string PathOf(const std::string& directory, const std::string& fileName);
    virtual ~TVMModule();
    TVMModule(const TVMModule&) = delete;
    TVMModule& operator=(const TVMModule&) = delete;

    // The context the module was loaded with; its failures and those of its
    // tokenizer are told in that context's messages.
    const TCCContext& Context() const { return FContext; }
    // The file name as it was found, without directory.
    const std::string& FileName() const { return FFileName; }
    // The library handle, for lookups of further exports.
    void* Handle() const { return FHandle.get(); }

    // The module's place in the load order: of two modules that give the
    // same function, the later one's dispatcher runs it. Unplaced modules
    // come after every placed one, in the order they enter.
    static constexpr size_t Unplaced = std::numeric_limits<size_t>::max();
    size_t Order() const { return FOrder; }
    void SetOrder(size_t order) { FOrder = order; }

    // Enters the module's constants into the variable table, and into the
    // offer when given.
    void LoadConstants(TVMVariableList& variables, TModuleOffer* offer = nullptr) const;
    // Enters the module's functions into the callable table, and into the
    // offer when given.
    void LoadFunctions(TVMCallableList& callables, TModuleOffer* offer = nullptr) const;
    // Hands the module the program's output callback, if it takes one.
    void ConnectOutput(VMXOutputProc output) const;
    // The information record and what the tokenizer declared, into the offer.
    void DescribeIn(TModuleOffer& offer) const;

    // The module's information record, asked afresh on every call; null if
    // the module returns none.
    const VMXModuleInfo* ModuleInfo() const;

    // The tables, as the module returns them; zero and null when the module
    // offers none.
    bool HasConstants() const { return FGetConstants && FGetConstantsNum; }
    bool HasFunctions() const { return FGetFunctions && FGetFunctionsNum; }
    int32_t ConstantCount() const;
    const VMXConstant* Constants() const;
    int32_t FunctionCount() const;
    const VMXFunction* Functions() const;

    // The module's tokenizer: offers text (zero-terminated, length characters)
    // and returns the module's result code.
    bool HasTokenizer() const { return FGetNextToken != nullptr; }
    // The characters its tokens may start with: those it declares through
    // "GetTokenStarts", every character when it declares none.
    const TTokenStarts& TokenStarts() const { return FTokenStarts; }
    bool DeclaresTokenStarts() const { return FDeclaresTokenStarts; }
    // In line: asked at token positions where the next character is one of
    // its start characters.
    int32_t GetNextToken(const char* text, int32_t length, TokenRecord& record) const {
        const TModuleCallScope scope(reinterpret_cast<const void*>(FGetNextToken), "GetNextToken");
        return FGetNextToken(text, length, &record);
    }

private:
    struct LibraryCloser {
        void operator()(void* handle) const;
    };

    template <typename Entry>
    Entry Lookup(const char* name) const;
    [[noreturn]] void Fail(const char* code) const;

    void Open(const std::string& directory);
    void RunInit() const;
    const VMXModuleInfo& CheckedModuleInfo() const;
    void CheckFunctionsAndConstants(const VMXModuleInfo& info);
    void CheckTokenizer(const VMXModuleInfo& info);
    void ReadTokenStarts();

    const TCCContext& FContext;
    std::string FFileName;
    std::unique_ptr<void, LibraryCloser> FHandle;
    VMXInitProc FInit = nullptr;
    VMXSetStdoutProc FSetStdout = nullptr;
    VMXGetModuleInfoProc FGetModuleInfo = nullptr;
    VMXGetCountProc FGetConstantsNum = nullptr;
    VMXGetConstantsProc FGetConstants = nullptr;
    VMXGetCountProc FGetFunctionsNum = nullptr;
    VMXGetFunctionsProc FGetFunctions = nullptr;
    VMXFunctionDispatcher FFunctionDispatcher = nullptr;
    VMXGetNextTokenProc FGetNextToken = nullptr;
    TTokenStarts FTokenStarts;
    std::string FTokenStartText;
    bool FDeclaresTokenStarts = false;
    size_t FOrder = Unplaced;
};

}  // namespace quenmark
