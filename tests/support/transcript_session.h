#pragma once

#include <string>
#include <vector>

#include "expression/interpreter.h"

namespace quenmark::testing {

// Runs the inputs through a line session on the interpreter, as both front
// ends do, with the settings in a file of a fresh temporary directory that
// is removed afterwards; returns every log line, echoes included.
std::vector<std::string> RunThroughLineSession(TCCInterpreter& interpreter, const std::vector<std::string>& inputs);

}  // namespace quenmark::testing
