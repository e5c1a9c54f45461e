// Arbitrary input lines through a fresh interpreter that has the shipped
// modules loaded, as the program runs them. The last byte of the input
// chooses the output mode (low two bits) and the debug trace (bit 2); the
// rest is cut into lines at "\n". Only the interpreter's own errors may
// leave a line; anything else, a sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/module_output.h"
#include "definitions/messages.h"
#include "definitions/profile_cache.h"
#include "expression/interpreter.h"
#include "expression/module_tokenizer.h"
#include "fuzz_support.h"
#include "vm/module_list.h"

namespace quenmark {
namespace {

// Loaded once: loading the libraries at every input would cost more than
// the lines themselves.
struct LoadedModules {
    LoadedModules() {
        TVMVariableList constants;
        TVMCallableList functions;
        Context.SetFiles(&Files);
        Context.SetMessages(&Messages);
        List.LoadDirectory(Context, QUENMARK_PROGRAM_DIR, constants, functions, ModuleOutput);
        fuzz::Require(List.Count() >= 3, "the shipped modules load");
    }

    // The context of every line: the shipped messages, read through a
    // cache as the program reads them, "." and ",".
    TProfileCache Files;
    TCCContext Context;
    TCCMessages Messages{Context, "Quenmark.msg", QUENMARK_PROGRAM_DIR};
    TVMModuleList List;
    TCCModuleTokenizer Tokenizer{List};
};

const char* const ModeCommands[] = {"@DEC", "@HEX", "@OCT", "@BIN"};

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    static LoadedModules modules;
    if (size == 0) return 0;
    const uint8_t control = data[size - 1];
    const std::string text(reinterpret_cast<const char*>(data), size - 1);

    TCCInterpreter interpreter(modules.Context);
    for (size_t i = 0; i < modules.List.Count(); ++i) {
        modules.List[i].LoadConstants(interpreter.Variables());
        modules.List[i].LoadFunctions(interpreter.Callables());
    }
    interpreter.Tokenizer().SetModuleTokenSource(&modules.Tokenizer);
    SetModuleOutputLines(&interpreter.OutputLines());

    fuzz::RunLine(interpreter, ModeCommands[control & 3]);
    if (control & 4) fuzz::RunLine(interpreter, "@DEBUG");
    for (const std::string& line : fuzz::InputLines(text)) fuzz::RunLine(interpreter, line);

    SetModuleOutputLines(nullptr);
    return 0;
}
