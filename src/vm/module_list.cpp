#include "vm/module_list.h"

#include "platform/file_listing.h"
#include "base/exception.h"

namespace quenmark {

TVMModule& TVMModuleList::Add(std::unique_ptr<TVMModule> module) {
    FItems.push_back(std::move(module));
    if (FItems.back()->HasTokenizer()) FTokenizers.push_back(FItems.back().get());
    return *FItems.back();
}

void TVMModuleList::LoadDirectory(const TCCContext& context, const std::string& directory, TVMVariableList& variables,
                                  TVMCallableList& callables, VMXOutputProc output) {
    for (const std::string& fileName : ListFilesWithExtension(directory, ".vmx"))
        LoadFile(context, directory, fileName, variables, callables, output);
}

bool TVMModuleList::LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                             TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output) {
    std::unique_ptr<TVMModule> loaded;
    try {
        loaded = std::make_unique<TVMModule>(context, directory, fileName);
    } catch (const Exception&) {
        return false;
    }
    TVMModule& module = Add(std::move(loaded));
    try {
        module.LoadConstants(variables);
        module.LoadFunctions(callables);
        module.ConnectOutput(output);
    } catch (const Exception&) {
        // The module keeps what it entered before the failure.
    }
    return true;
}

}  // namespace quenmark
