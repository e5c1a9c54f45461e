#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vm/name_index.h"
#include "vm/vmx.h"

namespace quenmark {

// One function offered by a module.
struct TVMCallable {
    TVMCallable(std::string name, VMXFunctionDispatcher dispatcher, std::string description, int32_t argCount);

    // Calls the dispatcher and returns its result unchanged.
    int32_t Invoke(VMXValue* result, VMXValue* args) const;

    std::string Name;
    std::string UpperName;
    int32_t ArgCount;
    std::string Description;
    VMXFunctionDispatcher Dispatcher;
};

// The callables in registration order; owns them.
class TVMCallableList {
public:
    explicit TVMCallableList(size_t capacity = 32) { FItems.reserve(capacity); }

    size_t Count() const { return FItems.size(); }
    TVMCallable& operator[](size_t index) { return *FItems[index]; }
    const TVMCallable& operator[](size_t index) const { return *FItems[index]; }

    TVMCallable& Add(std::unique_ptr<TVMCallable> callable);
    TVMCallable* Find(std::string_view name);
    const TVMCallable* Find(std::string_view name) const;
    void Clear();

    // A module function: an existing entry takes the new spelling and
    // dispatcher while its argument count and description stay; otherwise a
    // new callable is appended.
    TVMCallable& RegisterFunction(const std::string& name, VMXFunctionDispatcher dispatcher,
                                  const std::string& description, int32_t argCount);

private:
    std::vector<std::unique_ptr<TVMCallable>> FItems;
    TNameIndex<TVMCallable> FIndex;
};

}  // namespace quenmark
