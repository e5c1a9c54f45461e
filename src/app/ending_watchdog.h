#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "app/prepared_save.h"
#include "base/context.h"
#include "vm/line_interrupt.h"

namespace quenmark {

// Makes sure that an ending signal ends a program that runs its lines on
// its user-interface thread, even while a module call on that thread never
// returns. The program's own handling (save, then end) runs as usual; the
// watchdog, woken by the same signal on a thread of its own, asks the
// running line to stop and gives the program a grace period. When the
// program has not ended by then, the watchdog writes the state prepared
// after the last completed line over the settings file (or, when that
// fails, to a rescue file it names on standard error) and ends the process
// with 128 + the signal.
class TEndingWatchdog {
public:
    // The interrupt is that of the interpreter whose line the signal stops;
    // it, the context and the prepared state must outlive the process's run.
    TEndingWatchdog(const TCCContext& context, TLineInterrupt& interrupt, TPreparedSave& prepared,
                    std::string programName, std::chrono::milliseconds grace = std::chrono::milliseconds(1000));
    TEndingWatchdog(const TEndingWatchdog&) = delete;
    TEndingWatchdog& operator=(const TEndingWatchdog&) = delete;

    // Starts the watching thread; false when it could not be started. At
    // most one watchdog runs in a process, and it runs to the process's end.
    bool Start();
    // Wakes the started watchdog for signal. Async-signal-safe; does
    // nothing before Start.
    static void Wake(int signal);
    // The program saved and is ending by itself: the watchdog only makes
    // sure that it does within the grace period.
    void NoteEnded() { FEnded.store(true); }

private:
    [[noreturn]] void Watch();
    void EndWith(int signal);
    void WritePrepared();

    const TCCContext& FContext;
    TLineInterrupt& FInterrupt;
    TPreparedSave& FPrepared;
    std::string FProgramName;
    std::chrono::milliseconds FGrace;
    std::atomic<bool> FEnded{false};
};

}  // namespace quenmark
