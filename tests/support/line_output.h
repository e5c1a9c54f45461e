#pragma once

#include <string>
#include <vector>

#include "base/exception.h"
#include "expression/interpreter.h"

namespace quenmark::testing {

// The output of one line, with the text of the error it failed with last.
inline std::vector<std::string> LineOutput(TCCInterpreter& interpreter, const std::string& line) {
    interpreter.OutputLines().clear();
    try {
        interpreter.ProcessLine(line);
    } catch (const EINError& error) {
        interpreter.OutputLines().push_back(error.what());
    }
    return interpreter.OutputLines();
}

}  // namespace quenmark::testing
