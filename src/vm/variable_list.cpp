#include "vm/variable_list.h"

#include <algorithm>

#include "base/names.h"

namespace quenmark {

TVMVariable::TVMVariable(std::string name, Variant value, bool isConstant, bool isProtected)
    : Name(std::move(name)), UpperName(UpperCase(Name)), Value(std::move(value)),
      IsConstant(isConstant), IsProtected(isProtected) {}

TVMVariable& TVMVariableList::Add(std::unique_ptr<TVMVariable> variable) {
    FItems.push_back(std::move(variable));
    FIndex.Added(*FItems.back());
    ++FChanges;
    return *FItems.back();
}

TVMVariable& TVMVariableList::Add(std::string name, Variant value, bool isConstant, bool isProtected) {
    return Add(std::make_unique<TVMVariable>(std::move(name), std::move(value), isConstant, isProtected));
}

TVMVariable* TVMVariableList::Find(std::string_view name) { return FIndex.Find(name); }

const TVMVariable* TVMVariableList::Find(std::string_view name) const {
    return const_cast<TVMVariableList*>(this)->Find(name);
}

void TVMVariableList::RemoveFrom(size_t count) {
    while (Count() > count) Delete(Count() - 1);
}

void TVMVariableList::Delete(size_t index) {
    FIndex.Removing(*FItems[index], FItems);
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
    ++FRemovals;
    NoteRebuild();
}

void TVMVariableList::Remove(const TVMVariable* variable) {
    auto it = std::find_if(FItems.begin(), FItems.end(), [variable](const auto& item) { return item.get() == variable; });
    if (it != FItems.end()) {
        FIndex.Removing(**it, FItems);
        FItems.erase(it);
        ++FRemovals;
    }
    NoteRebuild();
}

void TVMVariableList::Clear() {
    FIndex.Clear();
    FItems.clear();
    ++FRemovals;
    NoteRebuild();
}

TVMVariable& TVMVariableList::RegisterConstant(const std::string& name, const Variant& value) {
    if (TVMVariable* existing = Find(name)) {
        existing->Name = name;
        existing->Value = value;
        existing->IsConstant = true;
        NoteRebuild();
        return *existing;
    }
    return Add(name, value, true, true);
}

void TVMVariableList::NoteChanged(const TVMVariable& variable) {
    ++FChanges;
    if (FRebuildNoted) return;
    for (size_t i = 0; i < FNotedCount; ++i)
        if (FNoted[i] == &variable) return;
    if (FNotedCount == NoteLimit) {
        NoteRebuild();
        return;
    }
    FNoted[FNotedCount++] = &variable;
}

// The noted pointers may no longer be valid: the copy starts afresh.
void TVMVariableList::NoteRebuild() {
    ++FChanges;
    FRebuildNoted = true;
    FNotedCount = 0;
}

bool TVMVariableList::TakeChanges(std::vector<const TVMVariable*>& changed) {
    changed.assign(FNoted.begin(), FNoted.begin() + static_cast<std::ptrdiff_t>(FNotedCount));
    const bool rebuild = FRebuildNoted;
    FNotedCount = 0;
    FRebuildNoted = false;
    return rebuild;
}

}  // namespace quenmark
