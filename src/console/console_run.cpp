#include "console/console_run.h"

#include <chrono>
#include <new>
#include <iostream>
#include <thread>

#include "app/settings_save.h"
#include "console/script_lines.h"
#include "expression/result_format.h"

namespace quenmark {

namespace {

// Puts the result of the line just run as a script prints it in place of
// the logged one. A text is the logged line without its quotes, taken off
// in place, as it may fill what memory there is; a number is short.
void ShowPlainResult(const TCCInterpreter& interpreter, TConsoleOutput& output) {
    const Variant& result = interpreter.LastResult();
    if (result.IsString()) return output.UnquoteResultLine();
    output.ReplaceResultLine(
        PlainResultText(result, interpreter.GetOutputMode(), interpreter.FormatMask(), interpreter.Context()));
}

// Whether the end of the run has something to save. Without the memory to
// tell, it is taken to have: the save then reports what it comes to.
bool HasSomethingToSave(const TConsoleRun& run) {
    try {
        return run.SavesUnchanged || run.Session.HasUnsavedChanges();
    } catch (const std::bad_alloc&) {
        return true;
    }
}

}  // namespace

bool RunLine(TConsoleRun& run, const std::string& line, bool flush) {
    if (run.Ending) WaitForTheEnd();
    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    run.Session.LineInterrupt().Clear();
    run.Output.BeginLine();
    const bool succeeded = run.Session.InterpretLine(line);
    if (succeeded && run.PlainResults) {
        if (run.Interpreter.LastWasExpression()) ShowPlainResult(run.Interpreter, run.Output);
        else if (IsConfirmingCommand(line)) run.Output.DropResultLine();
    }
    run.Output.EndLine(succeeded);
    if (!succeeded) run.AnyLineFailed = true;
    if (run.Saving) {
        // The prepared save writes the history as it is: its new entry and
        // the line's variables join the prepared file in one step. A write
        // claimed meanwhile ends the process.
        if (!run.Prepared.BeginChange()) WaitForTheEnd();
        if (run.RecordsHistory) run.Session.RecordHistory(line);
        run.Prepared.RefreshInChange();
        run.Prepared.EndChange();
    } else if (run.RecordsHistory) {
        run.Session.RecordHistory(line);
    }
    if (flush) run.Output.Flush();
    return static_cast<bool>(std::cout);
}

bool SaveOnce(TConsoleRun& run) {
    if (run.Saved || !run.Saving) return true;
    run.Saved = true;
    if (!HasSomethingToSave(run)) return true;
    const TSaveOutcome outcome = run.Session.SaveAll();
    // A file found damaged at exit was moved aside: say where, as at start.
    if (!outcome.MovedAsideTo.empty())
        std::cerr << "quenmark-console: " << MovedAsideText(run.Session.Context(), outcome.MovedAsideTo) << std::endl;
    if (!outcome.Saved)
        std::cerr << "quenmark-console: " << SaveFailureText(run.Session.Context(), outcome) << std::endl;
    return outcome.Saved;
}

}  // namespace quenmark
