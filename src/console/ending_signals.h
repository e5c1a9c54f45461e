#pragma once

#include "console/console_run.h"

namespace quenmark {

// Blocks SIGINT, SIGTERM and SIGHUP in every thread and waits for them in
// one. A signal between lines saves and ends the process. During a line
// the line is asked to stop at its next instruction; when it ends within a
// second the run is saved and ended as between lines, except that an
// interactive Ctrl-C only abandons the line, and at the prompt only the
// line being typed. A line that does not end (a module function that never
// returns) holds the session, so the state prepared after the last
// completed line is written instead (nothing is written when the run does
// not save). An interactive Ctrl-C does that only the second time: the
// first says that the next one ends the program. Call before any other
// thread starts.
void WatchEndingSignals(TConsoleRun& run);

}  // namespace quenmark
