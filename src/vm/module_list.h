#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vm/callable_list.h"
#include "vm/module_offer.h"
#include "vm/vm_module.h"

namespace quenmark {

class TVMVariableList;

// How much of a module one load enters. A module whose constants, function
// names and notices are already known (from an earlier run) is loaded for
// its code only: its functions' dispatchers and its output callback, as far
// as its first load got.
struct TModuleLoadPlan {
    size_t Order = TVMModule::Unplaced;
    bool Constants = true;
    bool Functions = true;
    bool Output = true;
    // Whether a failure joins the notices.
    bool Notices = true;
};

// A module known from an earlier run that is loaded when first needed:
// when one of its functions is called or, for a tokenizer, when a token
// position starts with one of its start characters.
struct TPendingModule {
    size_t Order = 0;
    std::string Directory;
    std::string FileName;
    // The name in its information record, for "@MOD".
    std::string InfoName;
    bool Functions = false;
    bool Output = false;
    bool Tokenizer = false;
    TTokenStarts TokenStarts;
    // What it offered when it was last loaded: its constants'
    // descriptions, for completion.
    std::shared_ptr<const TModuleOffer> Offer;
};

// A module as "@MOD" lists it: its file, and the name it gives itself when
// it gives one.
struct TListedModule {
    std::string FileName;
    std::string Name;
    bool Named = false;
    bool operator==(const TListedModule&) const = default;
};

// The modules that loaded successfully, in load order, and those that wait
// to be loaded when needed; owns them. Modules stay loaded as long as the
// list lives.
class TVMModuleList : public TVMFunctionLoader {
public:
    TVMModuleList() = default;
    TVMModuleList(const TVMModuleList&) = delete;
    TVMModuleList& operator=(const TVMModuleList&) = delete;

    // The loaded modules, in the order they loaded.
    size_t Count() const { return FItems.size(); }
    TVMModule& operator[](size_t index) { return *FItems[index]; }
    const TVMModule& operator[](size_t index) const { return *FItems[index]; }
    TVMModule& Add(std::unique_ptr<TVMModule> module);
    // The loaded modules that offer a tokenizer, in load order.
    const std::vector<const TVMModule*>& Tokenizers() const { return FTokenizers; }

    // Loads every "*.vmx" file of the directory in the order of their names:
    // each module that loads is appended, enters its constants and functions
    // into the tables and receives the output callback. A module that fails
    // to load is left out, one that fails later stays with what it entered
    // so far; either failure's message (naming the file and the broken
    // rule) joins the notices. The modules keep the context.
    void LoadDirectory(const TCCContext& context, const std::string& directory, TVMVariableList& variables,
                       TVMCallableList& callables, VMXOutputProc output);
    // The same for one file of the directory; false when it did not load.
    // A library the system refuses to load has the system's reason added
    // to its notice.
    bool LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                  TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output);
    // The same as the plan says, filling the offer (when given) with what
    // the module entered.
    bool LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                  TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output,
                  const TModuleLoadPlan& plan, TModuleOffer* offer);

    // Modules loaded when needed. The loader loads one (the program arms its
    // crash record around it) and is called at most once per module.
    using TPendingLoader = std::function<void(const TPendingModule&)>;
    void SetPendingLoader(TPendingLoader loader) { FPendingLoader = std::move(loader); }
    void AddPending(TPendingModule module);
    size_t PendingCount() const { return FPending.size(); }
    // Loads the waiting module at that place in the load order, if any.
    void LoadPending(size_t order);
    void LoadFunctionOf(const TVMCallable& callable) override { LoadPending(callable.Rank); }

    // Whether a token may start with the character: some loaded or waiting
    // tokenizer declares it. Asked at every token position.
    bool MayStartToken(unsigned char c) const { return FTokenStarts[c]; }
    // Loads the waiting tokenizers that declare the character.
    void LoadTokenizersFor(unsigned char c) {
        if (FPendingStarts[c]) LoadPendingTokenizers(c);
    }

    // Every module, loaded or waiting, in load order, as "@MOD" lists them.
    std::vector<TListedModule> Listing() const;
    // The description the module of a constant gives it; of several, the
    // one latest in the load order, as in the variable table. Records of
    // another size than this build's are skipped.
    std::string ConstantDescription(std::string_view upperName) const;

    // What the user is to be told about modules that were left out on
    // purpose or broke a rule, one text each, in the order they arose: the
    // front ends show them at start-up and "@MOD" lists them.
    const std::vector<std::string>& Notices() const { return FNotices; }
    void AddNotice(std::string text) { FNotices.push_back(std::move(text)); }

private:
    void LoadPendingTokenizers(unsigned char c);
    void UpdateTokenStarts();

    std::vector<std::unique_ptr<TVMModule>> FItems;
    std::vector<std::string> FNotices;
    std::vector<const TVMModule*> FTokenizers;
    std::vector<TPendingModule> FPending;
    TPendingLoader FPendingLoader;
    TTokenStarts FTokenStarts;
    TTokenStarts FPendingStarts;
    size_t FNextOrder = 0;
};

}  // namespace quenmark
