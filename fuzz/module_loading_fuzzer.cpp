// The loading and checking of a module from arbitrary records. A module of
// the fuzzing build (see table_module.c) builds its information record, its
// constant and function tables and its dispatcher's answers from the input;
// the program loads it as any module, enters what it accepts into fresh
// tables, lists them and calls every function it registered. A module the
// program refuses must fail with the program's own error; anything else, a
// sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include <dlfcn.h>

#include "app/module_output.h"
#include "expression/interpreter.h"
#include "fuzz_support.h"
#include "base/exception.h"
#include "vm/vm_module.h"

namespace quenmark {
namespace {

using SetTableScriptProc = void (*)(const uint8_t* data, size_t size);

constexpr const char* ModuleFile = "tables.vmx";

// Held open for the whole run, so that the script the harness hands over
// survives each load and release of the module by the program.
struct TableModule {
    TableModule() {
        const std::string path = std::string(QUENMARK_FUZZ_TABLES_DIR) + ModuleFile;
        Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        fuzz::Require(Handle != nullptr, "the table module opens");
        SetScript = reinterpret_cast<SetTableScriptProc>(dlsym(Handle, "SetTableScript"));
        fuzz::Require(SetScript != nullptr, "the table module takes scripts");
    }

    void* Handle = nullptr;
    SetTableScriptProc SetScript = nullptr;
};

// A call of every registered function with as many arguments as it takes
// (at most a few, of every type).
std::string CallLine(const TVMCallable& callable) {
    static const char* const Arguments[] = {"1", "2.5", "\"s\"", "-7", "1e300"};
    std::string line = callable.Name + "(";
    for (int32_t i = 0; i < callable.ArgCount && i < 8; ++i) {
        if (i > 0) line += ", ";
        line += Arguments[i % 5];
    }
    return line + ")";
}

void LoadAndUse(const uint8_t* data, size_t size, TableModule& tables) {
    tables.SetScript(data, size);
    TCCInterpreter interpreter;
    try {
        TVMModule module(interpreter.Context(), QUENMARK_FUZZ_TABLES_DIR, ModuleFile);
        module.LoadConstants(interpreter.Variables());
        module.LoadFunctions(interpreter.Callables());
        module.ConnectOutput(ModuleOutput);
    } catch (const Exception&) {
        // Refused, or refused part way: what was entered stays usable.
    }
    SetModuleOutputLines(&interpreter.OutputLines());
    fuzz::RunLine(interpreter, "@FNC");
    fuzz::RunLine(interpreter, "@VAR");
    for (size_t i = 0; i < interpreter.Callables().Count(); ++i)
        fuzz::RunLine(interpreter, CallLine(interpreter.Callables()[i]));
    SetModuleOutputLines(nullptr);
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static quenmark::TableModule tables;
    quenmark::LoadAndUse(data, size, tables);
    tables.SetScript(nullptr, 0);
    return 0;
}
