#pragma once

#include "console/console_run.h"

namespace quenmark {

// Prompts with "> " on the terminal and runs each line entered, with line
// editing and the input history on the arrow keys, until Ctrl-D on an
// empty line. Tab completes no file names.
void RunInteractive(TConsoleRun& run);

// Abandons the line being typed at the prompt and prompts afresh: Ctrl-C,
// reported by the watcher of the ending signals. Safe from any thread.
void InterruptPrompt();

}  // namespace quenmark
