#include "console/module_crash_handler.h"

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>

#include "console/terminal_state.h"
#include "vm/module_call_site.h"

namespace quenmark {

namespace {

constexpr std::array<int, 4> CaughtSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGABRT};

TPreparedSave* preparedSave = nullptr;
bool savingOnCrash = true;
std::array<struct sigaction, 4> previousActions{};

void WriteText(const char* text) {
    for (size_t left = strlen(text); left > 0;) {
        const ssize_t written = write(STDERR_FILENO, text, left);
        if (written <= 0) return;
        text += written;
        left -= static_cast<size_t>(written);
    }
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

[[noreturn]] void WaitForever() {
    for (;;) {
        timespec second{1, 0};
        nanosleep(&second, nullptr);
    }
}

void OnFatalSignal(int signal, siginfo_t* info, void* context) {
    const char* module = nullptr;
    const char* function = nullptr;
    if (!RunningModuleCall(module, function) || !preparedSave) {
        PassOn(signal, info, context);
        return;
    }
    WriteText("quenmark-console: the module ");
    WriteText(module);
    WriteText(" failed with ");
    WriteText(SignalName(signal));
    WriteText(" in its function ");
    WriteText(function);
    if (!savingOnCrash) {
        WriteText(".\n");
        RestoreTerminal();
        _exit(128 + signal);
    }
    WriteText("; the state after the last completed line is saved.\n");
    // A signal thread writing it already ends the process.
    if (!preparedSave->ClaimWrite()) WaitForever();
    preparedSave->WriteNow();
    RestoreTerminal();
    _exit(128 + signal);
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

void CatchModuleCrashes(TPreparedSave& prepared, bool saving) {
    preparedSave = &prepared;
    savingOnCrash = saving;
    UseAlternateStack();
    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < CaughtSignals.size(); ++i) sigaction(CaughtSignals[i], &action, &previousActions[i]);
}

}  // namespace quenmark
