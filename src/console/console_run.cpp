#include "console/console_run.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "app/settings_save.h"

namespace quenmark {

bool RunLine(TConsoleRun& run, const std::string& line, bool flush) {
    if (run.Ending) WaitForTheEnd();
    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    run.Session.LineInterrupt().Clear();
    run.Output.BeginLine();
    const bool succeeded = run.Session.InterpretLine(line);
    run.Output.EndLine(succeeded);
    if (!succeeded) run.AnyLineFailed = true;
    if (run.Saving) {
        // The prepared save writes the history as it is: its new entry and
        // the line's variables join the prepared file in one step. A write
        // claimed meanwhile ends the process.
        if (!run.Prepared.BeginChange()) WaitForTheEnd();
        run.Session.RecordHistory(line);
        run.Prepared.RefreshInChange();
        run.Prepared.EndChange();
    } else {
        run.Session.RecordHistory(line);
    }
    if (flush) run.Output.Flush();
    return static_cast<bool>(std::cout);
}

bool SaveOnce(TConsoleRun& run) {
    if (run.Saved || !run.Saving) return true;
    run.Saved = true;
    const TSaveOutcome outcome = run.Session.SaveAll();
    // A file found damaged at exit was moved aside: say where, as at start.
    if (!outcome.MovedAsideTo.empty())
        std::cerr << "quenmark-console: " << MovedAsideText(run.Session.Context(), outcome.MovedAsideTo) << std::endl;
    if (!outcome.Saved)
        std::cerr << "quenmark-console: " << SaveFailureText(run.Session.Context(), outcome) << std::endl;
    return outcome.Saved;
}

}  // namespace quenmark
