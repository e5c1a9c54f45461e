#include "console/ending_signals.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/rescued_settings.h"
#include "console/interactive_console.h"
#include "console/terminal_state.h"
#include "vm/module_call_site.h"

namespace quenmark {

namespace {

constexpr std::chrono::seconds LineGrace{1};

// A save that fails now has no later chance: the state goes to a rescue
// file instead.
[[noreturn]] void EndWithSave(TConsoleRun& run, int signal) {
    if (!SaveOnce(run) && run.Prepared.ClaimWrite())
        RescueAfterFailedSave(run.Session.Context(), run.Prepared.Contents(), "quenmark-console");
    run.Output.Flush();
    RestoreTerminal();
    _exit(128 + signal);
}

// The line thread holds the session and may never give it back: the
// prepared state is written without it.
[[noreturn]] void EndWithPreparedSave(TConsoleRun& run, int signal) {
    if (run.Saving) {
        if (!run.Prepared.ClaimWrite()) WaitForTheEnd();  // a crash handler writes it
        run.Prepared.WaitForChange();
        WritePreparedOrRescue(run.Session.Context(), run.Prepared, "quenmark-console");
    }
    // The output of the completed lines and the echo of the hanging one are
    // still buffered; the line thread only writes them between lines, and
    // it is inside a module now.
    const char* module = nullptr;
    const char* function = nullptr;
    if (RunningModuleCall(module, function)) run.Output.Flush();
    RestoreTerminal();
    _exit(128 + signal);
}

// What the watcher keeps from one signal to the next.
struct TSignalWatch {
    TConsoleRun& Run;
    // Said at the first Ctrl-C that cannot stop a hanging line; fetched
    // beforehand, so that the watcher reads nothing the line thread may use.
    std::string HangNotice;
    // The hanging line was told about; the next Ctrl-C ends the run.
    bool HangWarned = false;
};

// At the prompt, Ctrl-C stops a line; one that does not stop within the
// grace hangs in a module, and only a second Ctrl-C ends the run.
void WarnOfHang(TSignalWatch& watch) {
    watch.HangWarned = true;
    std::fprintf(stderr, "\n%s\n", watch.HangNotice.c_str());
    std::fflush(stderr);
}

// Handles one signal; returns only when the run goes on.
void HandleEndingSignal(TSignalWatch& watch, int signal) {
    TConsoleRun& run = watch.Run;
    const bool abandonLineOnly = run.Interactive && signal == SIGINT;
    if (run.SessionLock.try_lock()) {
        watch.HangWarned = false;
        if (!abandonLineOnly) EndWithSave(run, signal);
        // No line runs: Ctrl-C at the prompt abandons the line being typed.
        run.SessionLock.unlock();
        InterruptPrompt();
        return;
    }
    if (!abandonLineOnly) run.Ending = true;
    else if (watch.HangWarned) EndWithPreparedSave(run, signal);
    run.Session.LineInterrupt().Request();
    if (!run.SessionLock.try_lock_for(LineGrace)) {
        if (!abandonLineOnly) EndWithPreparedSave(run, signal);
        WarnOfHang(watch);
        return;
    }
    watch.HangWarned = false;
    if (!abandonLineOnly) EndWithSave(run, signal);
    run.SessionLock.unlock();
}

}  // namespace

void WatchEndingSignals(TConsoleRun& run) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // The hang notice is said only at a terminal's prompt: a run without
    // one reads no message text for it.
    std::string hangNotice = run.Interactive ? run.Session.Context().GetText("QEN441") : std::string();
    std::thread([signals, watch = TSignalWatch{run, std::move(hangNotice)}]() mutable {
        for (;;) {
            int signal = 0;
            if (sigwait(&signals, &signal) == 0) HandleEndingSignal(watch, signal);
        }
    }).detach();
}

}  // namespace quenmark
