#include "vm/module_list.h"

#include <algorithm>

#include "platform/file_listing.h"
#include "base/exception.h"

namespace quenmark {

namespace {

// The failure's message, with the system's reason where it gave one.
std::string NoticeOf(const Exception& error) {
    const auto* failure = dynamic_cast<const EVMModuleFailure*>(&error);
    if (!failure || failure->Reason().empty()) return error.what();
    return error.what() + (" (" + failure->Reason() + ")");
}

}  // namespace

TVMModule& TVMModuleList::Add(std::unique_ptr<TVMModule> module) {
    FItems.push_back(std::move(module));
    if (FItems.back()->HasTokenizer()) FTokenizers.push_back(FItems.back().get());
    return *FItems.back();
}

void TVMModuleList::LoadDirectory(const TCCContext& context, const std::string& directory, TVMVariableList& variables,
                                  TVMCallableList& callables, VMXOutputProc output) {
    std::vector<std::string> fileNames = ListFilesWithExtension(directory, ".vmx");
    std::sort(fileNames.begin(), fileNames.end());
    for (const std::string& fileName : fileNames)
        LoadFile(context, directory, fileName, variables, callables, output);
}

bool TVMModuleList::LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                             TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output) {
    std::unique_ptr<TVMModule> loaded;
    try {
        loaded = std::make_unique<TVMModule>(context, directory, fileName);
    } catch (const Exception& error) {
        AddNotice(NoticeOf(error));
        return false;
    }
    TVMModule& module = Add(std::move(loaded));
    try {
        module.LoadConstants(variables);
        module.LoadFunctions(callables);
        module.ConnectOutput(output);
    } catch (const Exception& error) {
        // The module keeps what it entered before the failure.
        AddNotice(NoticeOf(error));
    }
    return true;
}

}  // namespace quenmark
