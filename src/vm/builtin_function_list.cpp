#include "vm/builtin_function_list.h"

#include "base/names.h"

namespace quenmark {

const TVMBuiltinFunction* TVMBuiltinFunctionList::Find(std::string_view name) const {
    for (const auto& function : FItems)
        if (SameName(function->Name, name)) return function.get();
    return nullptr;
}

void TVMBuiltinFunctionList::Register(std::string name, int32_t argCount, std::string description,
                                      TVMBuiltinFunction::TRun run) {
    auto function = std::make_unique<TVMBuiltinFunction>();
    function->UpperName = UpperCase(name);
    function->Name = std::move(name);
    function->ArgCount = argCount;
    function->Description = std::move(description);
    function->Run = std::move(run);
    for (auto& existing : FItems)
        if (SameName(existing->Name, function->Name)) {
            existing = std::move(function);
            return;
        }
    FItems.push_back(std::move(function));
}

}  // namespace quenmark
