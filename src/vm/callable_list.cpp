#include "vm/callable_list.h"

#include "base/names.h"

namespace quenmark {

TVMCallable::TVMCallable(std::string name, VMXFunctionDispatcher dispatcher, std::string description,
                         int32_t argCount)
    : Name(std::move(name)), UpperName(UpperCase(Name)), ArgCount(argCount),
      Description(std::move(description)), Dispatcher(dispatcher) {}

int32_t TVMCallable::Invoke(VMXValue* result, VMXValue* args) const {
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
                                               const std::string& description, int32_t argCount) {
    if (TVMCallable* existing = Find(name)) {
        existing->Name = name;
        existing->Dispatcher = dispatcher;
        return *existing;
    }
    return Add(std::make_unique<TVMCallable>(name, dispatcher, description, argCount));
}

}  // namespace quenmark
