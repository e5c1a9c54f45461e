// The building of a token from an arbitrary TokenRecord. A module loaded
// from the fuzzing build returns the records the input scripts (see
// token_record_module.c): any result code, length, class, kind, value and
// buffer use, including the overruns the program guards against. The
// input's front is the line the module is offered. Every record either
// becomes a token that covers part of the rest of the line or fails the
// line with an error; a line made of such tokens then runs through the
// interpreter, with the token dump of the debug mode as well.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <dlfcn.h>

#include "expression/interpreter.h"
#include "expression/module_tokenizer.h"
#include "fuzz_support.h"
#include "base/exception.h"
#include "vm/module_list.h"

namespace quenmark {
namespace {

using fuzz::Require;
using SetRecordScriptProc = void (*)(const uint8_t* data, size_t size);

struct RecordModule {
    RecordModule() {
        TVMVariableList constants;
        TVMCallableList functions;
        List.LoadDirectory(Context, QUENMARK_FUZZ_MODULE_DIR, constants, functions, nullptr);
        Require(List.Count() == 1, "the record module loads");
        SetScript = reinterpret_cast<SetRecordScriptProc>(dlsym(List[0].Handle(), "SetRecordScript"));
        Require(SetScript != nullptr, "the record module takes scripts");
    }

    TCCContext Context;
    TVMModuleList List;
    TCCModuleTokenizer Tokenizer{List};
    SetRecordScriptProc SetScript = nullptr;
};

void ReadTokens(RecordModule& module, const std::string& line) {
    std::string_view rest = line;
    for (int count = 0; count < 64; ++count) {
        size_t consumed = 0;
        TCCToken token;
        try {
            if (!module.Tokenizer.ReadToken(rest, consumed, token)) return;
        } catch (const Exception&) {
            return;  // the line fails with the module's error
        }
        Require(consumed >= 1 && consumed <= rest.size(), "a token covers part of the rest of the line");
        Require(token.Text().size() <= consumed, "a token's text is no longer than what it covers");
        Require(token.Module == &module.List[0], "a token names its module");
        rest.remove_prefix(consumed);
    }
}

}  // namespace
}  // namespace quenmark

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quenmark;
    static RecordModule module;
    FuzzedDataProvider input(data, size);
    const std::string line = input.ConsumeRandomLengthString(4096);
    const std::vector<uint8_t> script = input.ConsumeRemainingBytes<uint8_t>();

    module.SetScript(script.data(), script.size());
    ReadTokens(module, line);

    TCCInterpreter interpreter;
    interpreter.Tokenizer().SetModuleTokenSource(&module.Tokenizer);
    module.SetScript(script.data(), script.size());
    fuzz::RunLine(interpreter, line);
    module.SetScript(nullptr, 0);
    fuzz::RunLine(interpreter, "@DEBUG");
    module.SetScript(script.data(), script.size());
    fuzz::RunLine(interpreter, line);
    module.SetScript(nullptr, 0);
    return 0;
}
