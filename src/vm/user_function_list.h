#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vm/command_list.h"

namespace quenmark {

// A function the user defined with "NAME(P1, P2, ...) = EXPRESSION": its
// body compiled once, at definition, with the parameters as local values
// (Local operands numbered from 0) and every other name left to be found
// when the body runs.
struct TVMUserFunction {
    std::string Name;
    std::string UpperName;
    std::vector<std::string> Parameters;
    // The definition as the user wrote it, trimmed: what "@FNC" lists and
    // the settings file keeps.
    std::string Definition;
    TVMCommandList Body;
};

// The user's functions in the order they were first defined; owns them.
class TVMUserFunctionList {
public:
    size_t Count() const { return FItems.size(); }
    TVMUserFunction& operator[](size_t index) { return *FItems[index]; }
    const TVMUserFunction& operator[](size_t index) const { return *FItems[index]; }

    TVMUserFunction* Find(std::string_view name);
    const TVMUserFunction* Find(std::string_view name) const;
    // Adds the function, or replaces the one of the same name in its place.
    TVMUserFunction& Define(std::unique_ptr<TVMUserFunction> function);
    // Whether a function of that name was there to remove.
    bool Remove(std::string_view name);
    // Counts every definition and removal, so that a save can tell whether
    // anything changed since it last looked.
    uint64_t Changes() const { return FChanges; }

private:
    std::vector<std::unique_ptr<TVMUserFunction>> FItems;
    uint64_t FChanges = 0;
};

}  // namespace quenmark
