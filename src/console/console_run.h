#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "app/line_session.h"
#include "app/prepared_save.h"
#include "console/console_output.h"

namespace quenmark {

// What the input loop and the watcher of the ending signals share. The
// session's log lines go straight to the output from here on.
struct TConsoleRun {
    // The interpreter is the one the session runs its lines on.
    TConsoleRun(TLineSession& session, TCCInterpreter& interpreter, TPreparedSave& prepared, TConsoleOutput& output,
                bool interactive, bool saving)
        : Session(session), Interpreter(interpreter), Prepared(prepared), Output(output), Interactive(interactive),
          Saving(saving) {
        session.SetLineLog(&output);
    }

    TLineSession& Session;
    TCCInterpreter& Interpreter;
    TPreparedSave& Prepared;
    TConsoleOutput& Output;
    const bool Interactive;
    // False with --no-save: no way of ending writes the settings file.
    const bool Saving;
    // Held while a line runs and while saving, so that the saves never run
    // in the middle of a line and run exactly once.
    std::timed_mutex SessionLock;
    bool Saved = false;
    // Whether the lines are entered into the history: not those of a
    // script, unless it asks for them (--history).
    bool RecordsHistory = true;
    // A script's results: each one plain line (PlainResultText).
    bool PlainResults = false;
    // Whether the end of the run saves even though nothing that is kept
    // changed: after the first start's welcome, which the save ends.
    bool SavesUnchanged = false;
    // Whether any line of the run failed.
    bool AnyLineFailed = false;
    // Set when a signal ends the run: the input loop starts no further line.
    std::atomic<bool> Ending{false};
};

// Runs one line under the session lock, prints its output and prepares its
// saved state. Returns false when the output can no longer be written (a
// closed pipe): reading stops there, and the run is saved and ends as at
// the end of input.
bool RunLine(TConsoleRun& run, const std::string& line, bool flush);

// The saves at the end of the run, once; call with SessionLock held. A
// failed save is reported on standard error; returns whether it worked.
// Without saving, or when nothing that is kept changed, nothing is locked
// or written and the answer is true.
bool SaveOnce(TConsoleRun& run);

}  // namespace quenmark
