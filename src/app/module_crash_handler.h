#pragma once

#include <string>

#include "app/prepared_save.h"

namespace quenmark {

// Catches SIGSEGV, SIGBUS, SIGFPE and SIGABRT raised while module code runs
// (vm/module_call_site.h), on an alternate stack so that a stack overflow
// is caught too, and ends the process with 128 + the signal after writing
// one line, "<program>: the module <file> failed with <signal> in its
// function <entry>...", to standard error. A fault outside module code goes
// to the handler that was there before (the default, or a sanitizer's).
//
// A crash while a module loads appends the module's record to the
// quarantine (app/module_quarantine.h), so that later starts skip it until
// its file changes. A crash in a later call writes the state prepared after
// the last completed line, once SaveOnModuleCrash has named it.
//
// Install on the thread that loads the modules and runs the lines, before
// the modules load.
struct TModuleCrashOptions {
    // The start of the line: "quenmark-console", "quenmark".
    std::string ProgramName;
    // A file that receives the same line too: opened only in the handler,
    // appended to, created with mode 0600. None when empty.
    std::string ReportFile = {};
    // Called once before the process ends, after the line is written, to
    // hand buffered output to its file. Must be async-signal-safe: no
    // locks, no allocation, write(2) only.
    void (*Flush)() = nullptr;
};
void CatchModuleCrashes(const TModuleCrashOptions& options);

// The state written on a crash after start-up, and whether the run saves at
// all; nothing is saved until it is called. The prepared save must live
// until the process ends.
void SaveOnModuleCrash(TPreparedSave* prepared, bool saving);

}  // namespace quenmark
