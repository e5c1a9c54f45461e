#include "vm/module_list.h"

#include <algorithm>

#include "base/exception.h"
#include "base/names.h"
#include "platform/file_listing.h"

namespace quenmark {

namespace {

// The failure's message, with the system's reason where it gave one.
std::string NoticeOf(const Exception& error) {
    const auto* failure = dynamic_cast<const EVMModuleFailure*>(&error);
    if (!failure || failure->Reason().empty()) return error.what();
    return error.what() + (" (" + failure->Reason() + ")");
}

void NoteFailure(const Exception& error, TModuleOffer* offer) {
    if (!offer) return;
    if (const auto* failure = dynamic_cast<const EVMModuleFailure*>(&error)) {
        offer->FailureCode = failure->Code();
        offer->FailureReason = failure->Reason();
    }
}

}  // namespace

// Tokenizers are asked in load order, whenever they loaded.
TVMModule& TVMModuleList::Add(std::unique_ptr<TVMModule> module) {
    if (module->Order() == TVMModule::Unplaced) module->SetOrder(FNextOrder);
    FNextOrder = std::max(FNextOrder, module->Order() + 1);
    FItems.push_back(std::move(module));
    const TVMModule* added = FItems.back().get();
    if (added->HasTokenizer()) {
        const auto place = std::find_if(FTokenizers.begin(), FTokenizers.end(), [added](const TVMModule* other) {
            return other->Order() > added->Order();
        });
        FTokenizers.insert(place, added);
        FTokenStarts |= added->TokenStarts();
    }
    return *FItems.back();
}

void TVMModuleList::LoadDirectory(const TCCContext& context, const std::string& directory, TVMVariableList& variables,
                                  TVMCallableList& callables, VMXOutputProc output) {
    std::vector<std::string> fileNames = ListFilesWithExtension(directory, ".vmx");
    std::sort(fileNames.begin(), fileNames.end());
    for (const std::string& fileName : fileNames) LoadFile(context, directory, fileName, variables, callables, output);
}

bool TVMModuleList::LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                             TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output) {
    return LoadFile(context, directory, fileName, variables, callables, output, TModuleLoadPlan{}, nullptr);
}

bool TVMModuleList::LoadFile(const TCCContext& context, const std::string& directory, const std::string& fileName,
                             TVMVariableList& variables, TVMCallableList& callables, VMXOutputProc output,
                             const TModuleLoadPlan& plan, TModuleOffer* offer) {
    std::unique_ptr<TVMModule> loaded;
    try {
        loaded = std::make_unique<TVMModule>(context, directory, fileName);
    } catch (const Exception& error) {
        NoteFailure(error, offer);
        if (plan.Notices) AddNotice(NoticeOf(error));
        return false;
    }
    loaded->SetOrder(plan.Order == TVMModule::Unplaced ? FNextOrder : plan.Order);
    if (offer) loaded->DescribeIn(*offer);
    TVMModule& module = Add(std::move(loaded));
    try {
        if (plan.Constants) module.LoadConstants(variables, offer);
        if (plan.Functions) module.LoadFunctions(callables, offer);
        if (plan.Output) {
            module.ConnectOutput(output);
            if (offer) offer->OutputConnected = true;
        }
    } catch (const Exception& error) {
        // The module keeps what it entered before the failure.
        NoteFailure(error, offer);
        if (plan.Notices) AddNotice(NoticeOf(error));
    }
    return true;
}

void TVMModuleList::AddPending(TPendingModule module) {
    FNextOrder = std::max(FNextOrder, module.Order + 1);
    const auto place = std::find_if(FPending.begin(), FPending.end(),
                                    [&module](const TPendingModule& other) { return other.Order > module.Order; });
    FPending.insert(place, std::move(module));
    UpdateTokenStarts();
}

void TVMModuleList::LoadPending(size_t order) {
    const auto found = std::find_if(FPending.begin(), FPending.end(),
                                    [order](const TPendingModule& module) { return module.Order == order; });
    if (found == FPending.end()) return;
    const TPendingModule module = std::move(*found);
    FPending.erase(found);
    UpdateTokenStarts();
    if (FPendingLoader) FPendingLoader(module);
}

void TVMModuleList::LoadPendingTokenizers(unsigned char c) {
    std::vector<size_t> orders;
    for (const TPendingModule& module : FPending)
        if (module.Tokenizer && module.TokenStarts[c]) orders.push_back(module.Order);
    for (const size_t order : orders) LoadPending(order);
}

void TVMModuleList::UpdateTokenStarts() {
    FPendingStarts.reset();
    for (const TPendingModule& module : FPending)
        if (module.Tokenizer) FPendingStarts |= module.TokenStarts;
    FTokenStarts = FPendingStarts;
    for (const TVMModule* tokenizer : FTokenizers) FTokenStarts |= tokenizer->TokenStarts();
}

std::vector<TListedModule> TVMModuleList::Listing() const {
    std::vector<std::pair<size_t, TListedModule>> entries;
    for (const auto& module : FItems) {
        const VMXModuleInfo* info = module->ModuleInfo();
        const bool named = info && info->Size == static_cast<int32_t>(sizeof(VMXModuleInfo)) && info->Name;
        entries.push_back({module->Order(), {module->FileName(), named ? info->Name : "", named}});
    }
    for (const TPendingModule& module : FPending)
        entries.push_back({module.Order, {module.FileName, module.InfoName, true}});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    std::vector<TListedModule> listing;
    for (auto& entry : entries) listing.push_back(std::move(entry.second));
    return listing;
}

std::string TVMModuleList::ConstantDescription(std::string_view upperName) const {
    std::string description;
    size_t latest = 0;
    bool found = false;
    const auto consider = [&](size_t order, const char* text) {
        if (found && order < latest) return;
        description = text ? text : "";
        latest = order;
        found = true;
    };
    for (const auto& module : FItems) {
        const VMXConstant* constants = module->Constants();
        const int32_t count = module->ConstantCount();
        for (int32_t i = 0; constants && i < count; ++i) {
            const VMXConstant& constant = constants[i];
            if (constant.Size != static_cast<int32_t>(sizeof(VMXConstant)) || !constant.Name) continue;
            if (UpperCase(constant.Name) == upperName) consider(module->Order(), constant.Description);
        }
    }
    for (const TPendingModule& module : FPending) {
        if (!module.Offer) continue;
        for (const TOfferedConstant& constant : module.Offer->Constants)
            if (UpperCase(constant.Name) == upperName) consider(module.Order, constant.Description.c_str());
    }
    return description;
}

}  // namespace quenmark
