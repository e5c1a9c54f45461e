#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vm/vm_module.h"

namespace quenmark {

class TVMCallableList;
class TVMVariableList;

// The modules that loaded successfully, in load order; owns them. Modules
// stay loaded as long as the list lives.
class TVMModuleList {
public:
    TVMModuleList() = default;
    TVMModuleList(const TVMModuleList&) = delete;
    TVMModuleList& operator=(const TVMModuleList&) = delete;

    size_t Count() const { return FItems.size(); }
    TVMModule& operator[](size_t index) { return *FItems[index]; }
    const TVMModule& operator[](size_t index) const { return *FItems[index]; }
    TVMModule& Add(std::unique_ptr<TVMModule> module);
    // The modules that offer a tokenizer, in load order: asked at every
    // token position, so kept apart from the others.
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

    // What the user is to be told about modules that were left out on
    // purpose, one text each, in the order they arose: the front ends show
    // them at start-up and "@MOD" lists them.
    const std::vector<std::string>& Notices() const { return FNotices; }
    void AddNotice(std::string text) { FNotices.push_back(std::move(text)); }

private:
    std::vector<std::unique_ptr<TVMModule>> FItems;
    std::vector<std::string> FNotices;
    std::vector<const TVMModule*> FTokenizers;
};

}  // namespace quenmark
