#include "vm/variable_list.h"

#include <algorithm>

#include "vm/names.h"

namespace quenmark {

TVMVariable::TVMVariable(std::string name, Variant value, bool isConstant, bool isProtected)
    : Name(std::move(name)), UpperName(UpperCase(Name)), Value(std::move(value)),
      IsConstant(isConstant), IsProtected(isProtected) {}

TVMVariable& TVMVariableList::Add(std::unique_ptr<TVMVariable> variable) {
    FItems.push_back(std::move(variable));
    return *FItems.back();
}

TVMVariable& TVMVariableList::Add(std::string name, Variant value, bool isConstant, bool isProtected) {
    return Add(std::make_unique<TVMVariable>(std::move(name), std::move(value), isConstant, isProtected));
}

TVMVariable* TVMVariableList::Find(std::string_view name) {
    for (auto& item : FItems)
        if (SameName(item->UpperName, name)) return item.get();
    return nullptr;
}

const TVMVariable* TVMVariableList::Find(std::string_view name) const {
    return const_cast<TVMVariableList*>(this)->Find(name);
}

void TVMVariableList::Delete(size_t index) { FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index)); }

void TVMVariableList::Remove(const TVMVariable* variable) {
    auto it = std::find_if(FItems.begin(), FItems.end(), [variable](const auto& item) { return item.get() == variable; });
    if (it != FItems.end()) FItems.erase(it);
}

void TVMVariableList::Clear() { FItems.clear(); }

TVMVariable& TVMVariableList::RegisterConstant(const std::string& name, const Variant& value) {
    if (TVMVariable* existing = Find(name)) {
        existing->Name = name;
        existing->Value = value;
        existing->IsConstant = true;
        return *existing;
    }
    return Add(name, value, true, true);
}

}  // namespace quenmark
