#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vm/variant.h"

namespace quenmark {

// A function the program itself offers to expressions, registered by a
// layer above the machine that holds what it needs (CONVERT and the unit
// files): unlike a module function it is a closure, so it can reach the
// program's own state through what it captured. It takes ArgCount values
// and returns one; its failures are EVMError.
struct TVMBuiltinFunction {
    using TRun = std::function<Variant(std::span<const Variant> arguments)>;

    std::string Name;
    std::string UpperName;
    int32_t ArgCount = 0;
    std::string Description;
    TRun Run;
};

// The name of the built-in unit conversion, which the postfix form of a
// conversion calls.
inline constexpr const char* UnitConversionName = "CONVERT";

// The built-in functions in registration order; owns them.
class TVMBuiltinFunctionList {
public:
    size_t Count() const { return FItems.size(); }
    const TVMBuiltinFunction& operator[](size_t index) const { return *FItems[index]; }

    const TVMBuiltinFunction* Find(std::string_view name) const;
    // Adds the function, or replaces the one of the same name.
    void Register(std::string name, int32_t argCount, std::string description, TVMBuiltinFunction::TRun run);

private:
    std::vector<std::unique_ptr<TVMBuiltinFunction>> FItems;
};

}  // namespace quenmark
