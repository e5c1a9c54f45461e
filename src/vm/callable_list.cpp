#include "vm/callable_list.h"

#include "base/names.h"
#include "vm/module_call_site.h"

namespace quenmark {

TVMCallable::TVMCallable(std::string name, VMXFunctionDispatcher dispatcher, std::string description,
                         int32_t argCount)
    : Name(std::move(name)), UpperName(UpperCase(Name)), ArgCount(argCount),
      Description(std::move(description)), Dispatcher(dispatcher) {}

extern "C" int32_t PendingFunctionDispatcher(const char*, VMXValue*, VMXValue*, int32_t) { return -1; }

// The module's registration replaces the dispatcher and clears the loader;
// a module that no longer loads leaves the function failing as a call.
int32_t TVMCallable::InvokePending(VMXValue* result, VMXValue* args) const {
    Loader->LoadFunctionOf(*this);
    if (Loader) return PendingFunctionDispatcher(UpperName.c_str(), result, args, ArgCount);
    const TModuleCallScope scope(reinterpret_cast<const void*>(Dispatcher), Name.c_str());
    return Dispatcher(UpperName.c_str(), result, args, ArgCount);
}

TVMCallable& TVMCallableList::Add(std::unique_ptr<TVMCallable> callable) {
    FItems.push_back(std::move(callable));
    FIndex.Added(*FItems.back());
    return *FItems.back();
}

TVMCallable* TVMCallableList::Find(std::string_view name) { return FIndex.Find(name); }

const TVMCallable* TVMCallableList::Find(std::string_view name) const {
    return const_cast<TVMCallableList*>(this)->Find(name);
}

void TVMCallableList::Clear() {
    FIndex.Clear();
    FItems.clear();
}

TVMCallable& TVMCallableList::RegisterFunction(const std::string& name, VMXFunctionDispatcher dispatcher,
                                               const std::string& description, int32_t argCount, size_t rank) {
    if (TVMCallable* existing = Find(name)) {
        if (rank < existing->Rank) return *existing;
        existing->Name = name;
        existing->Dispatcher = dispatcher;
        existing->Rank = rank;
        existing->Loader = nullptr;
        return *existing;
    }
    TVMCallable& added = Add(std::make_unique<TVMCallable>(name, dispatcher, description, argCount));
    added.Rank = rank;
    return added;
}

TVMCallable& TVMCallableList::RegisterPendingFunction(const std::string& name, const std::string& description,
                                                      int32_t argCount, size_t rank, TVMFunctionLoader& loader) {
    TVMCallable& callable = RegisterFunction(name, PendingFunctionDispatcher, description, argCount, rank);
    if (callable.Rank == rank && callable.Dispatcher == PendingFunctionDispatcher) callable.Loader = &loader;
    return callable;
}

}  // namespace quenmark
