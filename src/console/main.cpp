// quenmark-console: the calculator in a terminal. With a terminal on
// standard input it prompts and edits lines; otherwise it writes exactly
// the lines the desktop program's log would show.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include <editline/readline.h>

#include "app/line_session.h"
#include "app/prepared_save.h"
#include "app/settings_save.h"
#include "base/text_lines.h"
#include "app/process_objects.h"
#include "console/console_run.h"
#include "console/ending_signals.h"
#include "console/line_editor.h"
#include "console/module_crash_handler.h"
#include "console/terminal_state.h"
#include "vm/line_interrupt.h"

namespace quenmark {

bool SaveOnce(TConsoleRun& run) {
    if (run.Saved) return true;
    run.Saved = true;
    const TSaveOutcome outcome = run.Session.SaveAll();
    // A file found damaged at exit was moved aside: say where, as at start.
    if (!outcome.MovedAsideTo.empty())
        std::cerr << "quenmark-console: " << MovedAsideText(run.Session.Context(), outcome.MovedAsideTo) << std::endl;
    if (!outcome.Saved)
        std::cerr << "quenmark-console: " << SaveFailureText(run.Session.Context(), outcome) << std::endl;
    return outcome.Saved;
}

void WaitForTheEnd() {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

namespace {

void PrintLogLine(const std::string& line) {
    if (line.find_first_of("\r\n") == std::string::npos) {
        std::cout << line << '\n';
        return;
    }
    for (const std::string& part : SplitLines(line, EmptyText::OneEmptyLine)) std::cout << part << '\n';
}

// Runs one line under the session lock and prepares its saved state.
// Returns false when the output can no longer be written (a closed pipe):
// reading stops there, and the run is saved and ends as at the end of input.
bool RunLine(TConsoleRun& run, const std::string& line, bool flush) {
    if (run.Ending) WaitForTheEnd();
    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    ClearLineInterrupt();
    run.Session.ExecuteLine(line);
    run.Prepared.Refresh();
    if (flush) std::cout.flush();
    return static_cast<bool>(std::cout);
}

void SyncEditorHistory(const TLineSession& session) {
    clear_history();
    for (const std::string& entry : session.History()) add_history(entry.c_str());
}

void RunInteractive(TConsoleRun& run) {
    RememberTerminal();
    InstallLineEditor(run.Session, Interpreter());
    SyncEditorHistory(run.Session);
    while (char* input = readline("> ")) {
        const std::string line = TrimLine(input);
        std::free(input);
        if (!RunLine(run, line, true)) break;
        SyncEditorHistory(run.Session);
    }
}

void RunBatch(TConsoleRun& run) {
    std::string input;
    while (std::getline(std::cin, input)) {
        // Answer at once when no further input is waiting, as a pipe partner
        // expects; a long piped file is written in large blocks.
        if (!RunLine(run, TrimLine(input), std::cin.rdbuf()->in_avail() <= 0)) break;
    }
}

int Main() {
    // The streams need not stay in step with C stdio, which costs a call per
    // character on input.
    std::ios::sync_with_stdio(false);
    // Reading a line must not flush the output: RunLine flushes once a line
    // when no further input is waiting, and the prompt flushes on its own.
    std::cin.tie(nullptr);
    // A reader that goes away (`| head`) makes writes fail instead of ending
    // the process before it saves.
    signal(SIGPIPE, SIG_IGN);
    const bool interactive = isatty(STDIN_FILENO);
    StartCore();
    TLineSession session(Interpreter(), Settings());
    session.LoadHistory();
    session.RestoreOutputFormat();

    session.OnLogLine = [interactive](const std::string& line) {
        if (interactive && line.rfind("> ", 0) == 0) return;  // the prompt already shows the line
        PrintLogLine(line);
    };
    session.OnLogLine(TLineSession::Banner());
    for (const std::string& line : session.WelcomeLines()) session.OnLogLine(line);
    std::cout.flush();

    TPreparedSave prepared(Settings(), Interpreter().Variables(), session.InputHistory());
    TConsoleRun run(session, prepared, interactive);
    WatchEndingSignals(run);
    CatchModuleCrashes(prepared);

    if (std::cout) {
        if (interactive) RunInteractive(run);
        else RunBatch(run);
    }

    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    const bool saved = SaveOnce(run);
    std::cout.flush();
    return saved ? 0 : 1;
}

}  // namespace
}  // namespace quenmark

int main() { return quenmark::Main(); }
