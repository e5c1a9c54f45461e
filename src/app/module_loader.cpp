#include "app/module_loader.h"

#include <algorithm>

#include "app/module_index.h"
#include "app/module_output.h"
#include "platform/directory_trust.h"
#include "vm/callable_list.h"
#include "vm/variable_list.h"

namespace quenmark {

TModuleLoader::TModuleLoader(const TCCContext& context, TVMModuleList& modules, TVMVariableList& variables,
                             TVMCallableList& callables)
    : FContext(context), FModules(modules), FVariables(variables), FCallables(callables) {
    FModules.SetPendingLoader([this](const TPendingModule& module) { LoadWaiting(module); });
}

TModuleLoader::~TModuleLoader() { FModules.SetPendingLoader(nullptr); }

void TModuleLoader::LoadAll(const std::vector<TModuleFolder>& folders, const std::string& cacheDirectory) {
    FQuarantine = std::make_unique<TModuleQuarantine>(cacheDirectory);
    LoadFolders(folders);
}

// The one cache file is read once, for the index and the crash records.
void TModuleLoader::LoadOnDemand(const std::vector<TModuleFolder>& folders, const std::string& cacheDirectory) {
    const std::string cacheText = ReadModuleCacheFile(cacheDirectory);
    FQuarantine = std::make_unique<TModuleQuarantine>(cacheDirectory, cacheText);
    TModuleIndex index(cacheDirectory, cacheText);
    if (!index.Writable()) return LoadFolders(folders);
    FIndex = &index;
    LoadFolders(folders);
    FIndex = nullptr;
    if (index.Changed()) index.Write();
}

void TModuleLoader::LoadFolders(const std::vector<TModuleFolder>& folders) {
    std::vector<std::string> taken;
    for (const TModuleFolder& folder : folders) LoadFolder(folder, taken);
}

// Whoever can write the folder could put code there that runs as this user.
void TModuleLoader::LoadFolder(const TModuleFolder& folder, std::vector<std::string>& taken) {
    const std::vector<std::string> fileNames = ModuleFileNames(folder.Path);
    if (fileNames.empty()) return;
    if (folder.UserFolder ? !IsUsableUserModuleFolder(folder.Path) : !IsTrustedDirectory(folder.Path))
        return FModules.AddNotice(folder.UserFolder ? FContext.GetTextWith("QEN470", folder.Path)
                                                    : FContext.GetTextWith("QEN430", folder.Path));
    for (const std::string& fileName : fileNames) {
        if (std::find(taken.begin(), taken.end(), fileName) != taken.end()) {
            FModules.AddNotice(FContext.GetTextWith("QEN471", folder.Path + fileName));
            continue;
        }
        taken.push_back(fileName);
        LoadModule(folder.Path, fileName);
    }
}

// Loads one module unless it belongs to another user, others can write it,
// or it crashed the program when it was last loaded.
void TModuleLoader::LoadModule(const std::string& directory, const std::string& fileName) {
    const std::string path = TVMModule::PathOf(directory, fileName);
    if (!IsTrustedFile(path)) return FModules.AddNotice(FContext.GetTextWith("QEN431", fileName));
    const std::optional<TModuleIndexKey> key = IndexKeyOfFile(path);
    const std::optional<TModuleFileStamp> stamp =
        key ? std::optional<TModuleFileStamp>(key->Stamp) : std::optional<TModuleFileStamp>();
    if (stamp && FQuarantine->Holds(*stamp)) return FModules.AddNotice(FContext.GetTextWith("QEN432", fileName));
    const size_t order = FNextOrder++;
    if (!FIndex || !key) return LoadNow(directory, fileName, order, stamp);
    if (std::shared_ptr<const TModuleOffer> offer = FIndex->Find(*key)) {
        FIndex->Keep(*key, offer);
        return EnterIndexed(directory, fileName, order, std::move(offer));
    }
    auto offer = std::make_shared<TModuleOffer>();
    FQuarantine->Arm(*stamp);
    FModules.LoadFile(FContext, directory, fileName, FVariables, FCallables, ModuleOutput, TModuleLoadPlan{order},
                      offer.get());
    TModuleQuarantine::Disarm();
    FIndex->Keep(*key, std::move(offer));
}

// A crash while the module loads now is recorded in the quarantine.
void TModuleLoader::LoadNow(const std::string& directory, const std::string& fileName, size_t order,
                            const std::optional<TModuleFileStamp>& stamp) {
    if (stamp) FQuarantine->Arm(*stamp);
    FModules.LoadFile(FContext, directory, fileName, FVariables, FCallables, ModuleOutput, TModuleLoadPlan{order},
                      nullptr);
    TModuleQuarantine::Disarm();
}

// What the module entered when it was indexed, entered again in the same
// order; its notice is told again in this run's language.
void TModuleLoader::EnterIndexed(const std::string& directory, const std::string& fileName, size_t order,
                                 std::shared_ptr<const TModuleOffer> indexed) {
    const TModuleOffer& offer = *indexed;
    if (!offer.FailureCode.empty()) {
        const std::string reason = offer.FailureReason.empty() ? "" : " (" + offer.FailureReason + ")";
        FModules.AddNotice(FContext.GetTextWith(offer.FailureCode, fileName) + reason);
    }
    if (!offer.Loads) return;
    for (const TOfferedConstant& constant : offer.Constants) FVariables.RegisterConstant(constant.Name, constant.Value);
    for (const TOfferedFunction& function : offer.Functions)
        FCallables.RegisterPendingFunction(function.Name, function.Description, function.ArgCount, order, FModules);
    TPendingModule module;
    module.Order = order;
    module.Directory = directory;
    module.FileName = fileName;
    module.InfoName = offer.Info.Name;
    module.Functions = offer.FunctionsEntered;
    module.Output = offer.OutputConnected;
    module.Tokenizer = offer.Tokenizer;
    module.Offer = std::move(indexed);
    if (offer.Tokenizer && !offer.DeclaresTokenStarts) return LoadWaiting(module);
    for (const char c : offer.TokenStarts) module.TokenStarts.set(static_cast<unsigned char>(c));
    FModules.AddPending(std::move(module));
}

// Loaded for its code: its names and notices are in the tables already.
void TModuleLoader::LoadWaiting(const TPendingModule& module) {
    const std::string path = TVMModule::PathOf(module.Directory, module.FileName);
    const std::optional<TModuleFileStamp> stamp = StampOfFile(path);
    if (stamp && FQuarantine) FQuarantine->Arm(*stamp);
    const TModuleLoadPlan plan{module.Order, false, module.Functions, module.Output, false};
    FModules.LoadFile(FContext, module.Directory, module.FileName, FVariables, FCallables, ModuleOutput, plan, nullptr);
    TModuleQuarantine::Disarm();
}

}  // namespace quenmark
