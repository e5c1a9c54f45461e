#pragma once

#include <atomic>
#include <mutex>

#include "app/line_session.h"
#include "app/prepared_save.h"

namespace quenmark {

// What the input loop and the watcher of the ending signals share.
struct TConsoleRun {
    TConsoleRun(TLineSession& session, TPreparedSave& prepared, bool interactive)
        : Session(session), Prepared(prepared), Interactive(interactive) {}

    TLineSession& Session;
    TPreparedSave& Prepared;
    const bool Interactive;
    // Held while a line runs and while saving, so that the saves never run
    // in the middle of a line and run exactly once.
    std::timed_mutex SessionLock;
    bool Saved = false;
    // Set when a signal ends the run: the input loop starts no further line.
    std::atomic<bool> Ending{false};
};

// The saves at the end of the run, once; call with SessionLock held. A
// failed save is reported on standard error; returns whether it worked.
bool SaveOnce(TConsoleRun& run);

// Blocks any further line of the input loop for good: the watcher of the
// ending signals ends the process.
[[noreturn]] void WaitForTheEnd();

}  // namespace quenmark
