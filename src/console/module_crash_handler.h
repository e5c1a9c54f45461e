#pragma once

#include "app/prepared_save.h"

namespace quenmark {

// Catches SIGSEGV, SIGBUS, SIGFPE and SIGABRT raised while module code
// runs on the calling thread, on an alternate stack so that a stack
// overflow is caught too: writes one line naming the module and the
// function to standard error, writes the state prepared after the last
// completed line (unless the run does not save) and ends the process with
// 128 + the signal. A fault outside module code goes to the handler that
// was there before (the default, or a sanitizer's). Call on the thread that
// runs the lines.
void CatchModuleCrashes(TPreparedSave& prepared, bool saving);

}  // namespace quenmark
