#include "loaded_calculator.h"

#include "app/module_output.h"
#include "expression/module_tokenizer.h"
#include "base/exception.h"
#include "vm/module_list.h"

namespace quenmark {

namespace {

struct ShippedModules {
    ShippedModules() {
        TVMVariableList constants;
        TVMCallableList functions;
        List.LoadDirectory(Context, QUENMARK_PROGRAM_DIR "/", constants, functions, ModuleOutput);
    }
    // The modules' own context: their failures are codes.
    TCCContext Context;
    TVMModuleList List;
    TCCModuleTokenizer Tokenizer{List};
};

ShippedModules& Modules() {
    static ShippedModules modules;
    return modules;
}

}  // namespace

LoadedCalculator::LoadedCalculator() {
    ShippedModules& modules = Modules();
    for (size_t i = 0; i < modules.List.Count(); ++i) {
        modules.List[i].LoadConstants(FInterpreter.Variables());
        modules.List[i].LoadFunctions(FInterpreter.Callables());
    }
    FInterpreter.Tokenizer().SetModuleTokenSource(&modules.Tokenizer);
    SetModuleOutputLines(&FInterpreter.OutputLines());
}

LoadedCalculator::~LoadedCalculator() {
    if (ModuleOutputLines() == &FInterpreter.OutputLines()) SetModuleOutputLines(nullptr);
}

std::vector<std::string> LoadedCalculator::Run(const std::string& line) {
    FInterpreter.OutputLines().clear();
    try {
        FInterpreter.ProcessLine(line);
    } catch (const Exception& error) {
        FInterpreter.OutputLines().push_back(error.what());
    }
    std::vector<std::string> lines = std::move(FInterpreter.OutputLines());
    FInterpreter.OutputLines().clear();
    return lines;
}

size_t LoadedCalculator::ModuleCount() { return Modules().List.Count(); }

}  // namespace quenmark
