#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vm/name_index.h"
#include "vm/vmx.h"

namespace quenmark {

struct TVMCallable;

// Loads the module of a function that was entered before its module was
// loaded (from what an earlier run learnt of it), so that the function
// gets its module's dispatcher.
class TVMFunctionLoader {
public:
    virtual ~TVMFunctionLoader() = default;
    virtual void LoadFunctionOf(const TVMCallable& callable) = 0;
};

// The dispatcher of a function whose module is not loaded yet: Invoke loads
// the module first. Called directly, it reports a failed call.
extern "C" int32_t PendingFunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount);

// One function offered by a module.
struct TVMCallable {
    TVMCallable(std::string name, VMXFunctionDispatcher dispatcher, std::string description, int32_t argCount);

    // Calls the dispatcher and returns its result unchanged; a pending
    // function's module is loaded first.
    int32_t Invoke(VMXValue* result, VMXValue* args) const {
        if (Loader) [[unlikely]]
            return InvokePending(result, args);
        return Dispatcher(UpperName.c_str(), result, args, ArgCount);
    }

    std::string Name;
    std::string UpperName;
    int32_t ArgCount;
    std::string Description;
    VMXFunctionDispatcher Dispatcher;
    // The load-order place of the module whose dispatcher runs the function
    // (or, while Loader is set, will run it).
    size_t Rank = std::numeric_limits<size_t>::max();
    // Set while the function waits for its module.
    TVMFunctionLoader* Loader = nullptr;

private:
    int32_t InvokePending(VMXValue* result, VMXValue* args) const;
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
    // dispatcher while its argument count and description stay, unless it
    // holds the dispatcher of a module later in the load order (a higher
    // rank); otherwise a new callable is appended.
    TVMCallable& RegisterFunction(const std::string& name, VMXFunctionDispatcher dispatcher,
                                  const std::string& description, int32_t argCount,
                                  size_t rank = std::numeric_limits<size_t>::max());
    // The same for a function whose module is not loaded yet: the loader
    // loads the module of the given rank at the first call.
    TVMCallable& RegisterPendingFunction(const std::string& name, const std::string& description, int32_t argCount,
                                         size_t rank, TVMFunctionLoader& loader);

private:
    std::vector<std::unique_ptr<TVMCallable>> FItems;
    TNameIndex<TVMCallable> FIndex;
};

}  // namespace quenmark
