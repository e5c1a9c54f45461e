#pragma once

#include <string>
#include <vector>

#include "expression/interpreter.h"

namespace quenmark {

// An interpreter with the shipped modules of the program directory loaded,
// as the program has it after its start. The modules are loaded once per
// process and entered into each calculator's own tables.
class LoadedCalculator {
public:
    LoadedCalculator();
    ~LoadedCalculator();
    LoadedCalculator(const LoadedCalculator&) = delete;
    LoadedCalculator& operator=(const LoadedCalculator&) = delete;

    TCCInterpreter& Interpreter() { return FInterpreter; }

    // The output lines of one line, its error's text last where it fails.
    std::vector<std::string> Run(const std::string& line);

    // How many modules loaded.
    static size_t ModuleCount();

private:
    TCCInterpreter FInterpreter;
};

}  // namespace quenmark
