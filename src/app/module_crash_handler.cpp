#include "app/module_crash_handler.h"

#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <ctime>

#include "platform/atomic_file.h"
#include "app/module_quarantine.h"
#include "vm/module_call_site.h"

namespace quenmark {

namespace {

constexpr std::array<int, 4> CaughtSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGABRT};

// Set before any module loads; read by the handler only.
char programName[64] = "quenmark";
char reportFile[4096] = {};
void (*flushHook)() = nullptr;
std::atomic<TPreparedSave*> preparedSave{nullptr};
std::atomic<bool> savingOnCrash{false};
std::array<struct sigaction, 4> previousActions{};

// The line of the handler, built without allocating.
struct TCrashLine {
    char Text[1024] = {};
    size_t Size = 0;

    void Add(const char* text) {
        for (; *text && Size + 1 < sizeof Text; ++text) Text[Size++] = *text;
    }
};

TCrashLine crashLine;


void CopyText(char* target, size_t room, const std::string& text) {
    const size_t length = std::min(text.size(), room - 1);
    memcpy(target, text.data(), length);
    target[length] = 0;
}

const char* SignalName(int signal) {
    switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    default: return "SIGABRT";
    }
}

// Restores the handler found at installation and lets it have the signal.
void PassOn(int signal, siginfo_t* info, void* context) {
    const size_t index = static_cast<size_t>(std::find(CaughtSignals.begin(), CaughtSignals.end(), signal) -
                                             CaughtSignals.begin());
    const struct sigaction& previous = previousActions[index];
    sigaction(signal, &previous, nullptr);
    if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
    } else {
        // Delivered again on return, now with the default action.
        raise(signal);
    }
}


// Standard error, and the report file when there is one.
void Report() {
    WriteAllBytes(STDERR_FILENO, crashLine.Text, crashLine.Size);
    if (!reportFile[0]) return;
    const int file = open(reportFile, O_CREAT | O_APPEND | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return;
    WriteAllBytes(file, crashLine.Text, crashLine.Size);
    close(file);
}

void StartLine(const TRunningModuleCall& call, int signal) {
    crashLine.Size = 0;
    crashLine.Add(programName);
    crashLine.Add(": the module ");
    crashLine.Add(call.Module);
    crashLine.Add(" failed with ");
    crashLine.Add(SignalName(signal));
    crashLine.Add(" in its function ");
    crashLine.Add(call.Function);
}

[[noreturn]] void EndProcess(int signal) {
    if (flushHook) flushHook();
    _exit(128 + signal);
}

[[noreturn]] void EndAtLoad(const TRunningModuleCall& call, int signal) {
    StartLine(call, signal);
    if (WriteArmedQuarantineRecord())
        crashLine.Add(" while it was loaded; it is skipped from now on until its file changes.\n");
    else
        crashLine.Add(" while it was loaded.\n");
    Report();
    EndProcess(signal);
}

[[noreturn]] void EndInCall(const TRunningModuleCall& call, int signal) {
    TPreparedSave* const prepared = preparedSave.load();
    const bool saving = prepared && savingOnCrash.load();
    StartLine(call, signal);
    crashLine.Add(saving ? "; the state after the last completed line is saved.\n" : ".\n");
    Report();
    if (!saving) EndProcess(signal);
    // A signal thread writing it already ends the process.
    if (!prepared->ClaimWrite()) WaitForTheEnd();
    if (flushHook) flushHook();
    prepared->WriteNow();
    _exit(128 + signal);
}

void OnFatalSignal(int signal, siginfo_t* info, void* context) {
    TRunningModuleCall call;
    if (!RunningModuleCall(call)) {
        PassOn(signal, info, context);
        return;
    }
    if (call.AtLoad) EndAtLoad(call, signal);
    EndInCall(call, signal);
}

void UseAlternateStack() {
    // Enough for the handler on top of what a sanitizer's may need.
    // SIGSTKSZ may be a sysconf() call, which gives -1 when it fails.
    const size_t size = static_cast<size_t>(std::max<long>(SIGSTKSZ, 64 * 1024));
    static char* const stack = new char[size];
    stack_t alternate{};
    alternate.ss_sp = stack;
    alternate.ss_size = size;
    sigaltstack(&alternate, nullptr);
}

}  // namespace

void CatchModuleCrashes(const TModuleCrashOptions& options) {
    // Installed once: a second installation would pass signals on to itself.
    static bool installed = false;
    CopyText(programName, sizeof programName, options.ProgramName);
    CopyText(reportFile, sizeof reportFile, options.ReportFile);
    flushHook = options.Flush;
    if (installed) return;
    installed = true;
    UseAlternateStack();
    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < CaughtSignals.size(); ++i) sigaction(CaughtSignals[i], &action, &previousActions[i]);
}

void SaveOnModuleCrash(TPreparedSave* prepared, bool saving) {
    savingOnCrash.store(saving);
    preparedSave.store(prepared);
}

}  // namespace quenmark
