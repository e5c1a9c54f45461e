#pragma once

#include <istream>
#include <string>
#include <vector>

#include "console/console_run.h"

namespace quenmark {

// Runs every line of the stream in turn; false when the output can no
// longer be written, so that nothing further is run.
bool RunStreamLines(TConsoleRun& run, std::istream& input);

// Runs each text as an input line (each line of a text that holds line
// breaks); false as above.
bool RunTextLines(TConsoleRun& run, const std::vector<std::string>& texts);

}  // namespace quenmark
