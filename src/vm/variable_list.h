#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vm/name_index.h"
#include "vm/variant.h"

namespace quenmark {

// A named value. UpperName is the lookup key, fixed at creation.
struct TVMVariable {
    TVMVariable(std::string name, Variant value, bool flag)
        : TVMVariable(std::move(name), std::move(value), flag, flag) {}
    TVMVariable(std::string name, Variant value, bool isConstant, bool isProtected);

    std::string Name;
    std::string UpperName;
    Variant Value;
    bool IsConstant;
    bool IsProtected;
};

// The variables in the order they were added; owns them. Find returns the
// oldest entry with a matching name.
class TVMVariableList {
public:
    explicit TVMVariableList(size_t capacity = 32) { FItems.reserve(capacity); }

    size_t Count() const { return FItems.size(); }
    TVMVariable& operator[](size_t index) { return *FItems[index]; }
    const TVMVariable& operator[](size_t index) const { return *FItems[index]; }

    TVMVariable& Add(std::unique_ptr<TVMVariable> variable);
    TVMVariable& Add(std::string name, Variant value, bool isConstant = false, bool isProtected = false);
    TVMVariable* Find(std::string_view name);
    const TVMVariable* Find(std::string_view name) const;
    void Delete(size_t index);
    // Removes the variables appended since the table held count, newest first.
    void RemoveFrom(size_t count);
    void Remove(const TVMVariable* variable);
    void Clear();
    // Counts the removals: a variable found while it stays unchanged is
    // still the one its name finds, at the same address.
    uint64_t Removals() const { return FRemovals; }
    // Counts every change of the table: additions, removals and noted
    // writes. The same count means the same variables and values.
    uint64_t Changes() const { return FChanges; }

    // A module constant: an existing variable takes the module's spelling,
    // the value and the constant flag (its protection stays); otherwise a new
    // constant, protected variable is appended.
    TVMVariable& RegisterConstant(const std::string& name, const Variant& value);

    // Change tracking for one copy of the table that follows it line by line
    // (the prepared save). Whoever writes a variable's value or flags in
    // place notes it; TakeChanges hands over the variables noted since its
    // last call, or returns true when the copy must be rebuilt whole: after
    // a removal, a constant registered over a variable, or more notes than
    // fit. Variables appended since show in Count().
    static constexpr size_t NoteLimit = 8;
    void NoteChanged(const TVMVariable& variable);
    bool TakeChanges(std::vector<const TVMVariable*>& changed);

private:
    void NoteRebuild();

    std::vector<std::unique_ptr<TVMVariable>> FItems;
    TNameIndex<TVMVariable> FIndex;
    uint64_t FRemovals = 0;
    uint64_t FChanges = 0;
    std::array<const TVMVariable*, NoteLimit> FNoted{};
    size_t FNotedCount = 0;
    bool FRebuildNoted = false;
};

}  // namespace quenmark
