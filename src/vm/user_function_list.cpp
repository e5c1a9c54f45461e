#include "vm/user_function_list.h"

#include <algorithm>

#include "base/names.h"

namespace quenmark {

TVMUserFunction* TVMUserFunctionList::Find(std::string_view name) {
    const auto found = std::find_if(FItems.begin(), FItems.end(),
                                    [name](const auto& function) { return SameName(function->Name, name); });
    return found == FItems.end() ? nullptr : found->get();
}

const TVMUserFunction* TVMUserFunctionList::Find(std::string_view name) const {
    return const_cast<TVMUserFunctionList*>(this)->Find(name);
}

TVMUserFunction& TVMUserFunctionList::Define(std::unique_ptr<TVMUserFunction> function) {
    ++FChanges;
    for (auto& existing : FItems)
        if (SameName(existing->Name, function->Name)) {
            existing = std::move(function);
            return *existing;
        }
    FItems.push_back(std::move(function));
    return *FItems.back();
}

bool TVMUserFunctionList::Remove(std::string_view name) {
    const auto found = std::find_if(FItems.begin(), FItems.end(),
                                    [name](const auto& function) { return SameName(function->Name, name); });
    if (found == FItems.end()) return false;
    FItems.erase(found);
    ++FChanges;
    return true;
}

}  // namespace quenmark
