#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/module_folders.h"
#include "app/module_quarantine.h"
#include "base/context.h"
#include "vm/module_list.h"

namespace quenmark {

class TModuleIndex;
class TVMCallableList;
class TVMVariableList;

// Loads the modules of the module folders into the tables: every module at
// once, or through the index of the user's cache folder, each module only
// when a line first needs it. The same modules give the same names in the
// same order of precedence and the same notices either way. The loader must
// live as long as the module list, which calls it back for a module that
// waits.
class TModuleLoader {
public:
    TModuleLoader(const TCCContext& context, TVMModuleList& modules, TVMVariableList& variables,
                  TVMCallableList& callables);
    ~TModuleLoader();
    TModuleLoader(const TModuleLoader&) = delete;
    TModuleLoader& operator=(const TModuleLoader&) = delete;

    // Loads every module of the folders now.
    void LoadAll(const std::vector<TModuleFolder>& folders, const std::string& cacheDirectory);
    // A module the index of cacheDirectory knows as its file is now enters
    // its constants and function names from there and is loaded when a
    // function of it is called or a token starts with a character its
    // tokenizer declared (a tokenizer that declares none is loaded now).
    // Any other module is loaded now and indexed. Where the index cannot be
    // written, every module is loaded now.
    void LoadOnDemand(const std::vector<TModuleFolder>& folders, const std::string& cacheDirectory);

private:
    void LoadFolders(const std::vector<TModuleFolder>& folders);
    void LoadFolder(const TModuleFolder& folder, std::vector<std::string>& taken);
    void LoadModule(const std::string& directory, const std::string& fileName);
    void LoadNow(const std::string& directory, const std::string& fileName, size_t order,
                 const std::optional<TModuleFileStamp>& stamp);
    void EnterIndexed(const std::string& directory, const std::string& fileName, size_t order,
                      std::shared_ptr<const TModuleOffer> offer);
    void LoadWaiting(const TPendingModule& module);

    const TCCContext& FContext;
    TVMModuleList& FModules;
    TVMVariableList& FVariables;
    TVMCallableList& FCallables;
    std::unique_ptr<TModuleQuarantine> FQuarantine;
    // Present while LoadOnDemand runs.
    TModuleIndex* FIndex = nullptr;
    size_t FNextOrder = 0;
};

}  // namespace quenmark
