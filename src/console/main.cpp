// quenmark-console: the calculator in a terminal. With a terminal on
// standard input it prompts and edits lines; otherwise it writes exactly
// the lines the desktop program's log would show.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include <editline/readline.h>

#include "app/line_session.h"
#include "app/process_objects.h"
#include "console/line_splitter.h"

namespace quenmark {
namespace {

// Guards the session between the input loop and the signal watcher, so the
// saves never run in the middle of a line and run exactly once.
std::mutex sessionMutex;
bool saved = false;
termios originalTerminal{};
bool terminalSaved = false;

void SaveOnce(TLineSession& session) {
    if (saved) return;
    saved = true;
    session.SaveAll();
}

void PrintLogLine(const std::string& line) {
    if (line.find_first_of("\r\n") == std::string::npos) {
        std::cout << line << '\n';
        return;
    }
    for (const std::string& part : SplitLines(line)) std::cout << part << '\n';
}

// Blocks the ending signals in every thread and waits for them in one, which
// saves under the session lock and ends the process.
void WatchSignals(TLineSession& session) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals, &session]() {
        int signal = 0;
        sigwait(&signals, &signal);
        std::lock_guard<std::mutex> lock(sessionMutex);
        SaveOnce(session);
        std::cout.flush();
        if (terminalSaved) tcsetattr(STDIN_FILENO, TCSANOW, &originalTerminal);
        _exit(128 + signal);
    }).detach();
}

void SyncEditorHistory(const TLineSession& session) {
    clear_history();
    for (const std::string& entry : session.History()) add_history(entry.c_str());
}

void RunInteractive(TLineSession& session) {
    terminalSaved = tcgetattr(STDIN_FILENO, &originalTerminal) == 0;
    SyncEditorHistory(session);
    while (char* input = readline("> ")) {
        const std::string line = TrimLine(input);
        std::free(input);
        std::lock_guard<std::mutex> lock(sessionMutex);
        session.ExecuteLine(line);
        std::cout.flush();
        SyncEditorHistory(session);
    }
}

void RunBatch(TLineSession& session) {
    std::string input;
    while (std::getline(std::cin, input)) {
        std::lock_guard<std::mutex> lock(sessionMutex);
        session.ExecuteLine(TrimLine(input));
        // Answer at once when no further input is waiting, as a pipe partner
        // expects; a long piped file is written in large blocks.
        if (std::cin.rdbuf()->in_avail() <= 0) std::cout.flush();
    }
}

int Main() {
    // The streams need not stay in step with C stdio, which costs a call per
    // character on input.
    std::ios::sync_with_stdio(false);
    const bool interactive = isatty(STDIN_FILENO);
    StartCore();
    TLineSession session(Interpreter(), Settings());
    session.LoadHistory();
    session.RestoreOutputFormat();
    WatchSignals(session);

    session.OnLogLine = [interactive](const std::string& line) {
        if (interactive && line.rfind("> ", 0) == 0) return;  // the prompt already shows the line
        PrintLogLine(line);
    };
    session.OnLogLine(TLineSession::Banner());
    for (const std::string& line : session.WelcomeLines()) session.OnLogLine(line);
    std::cout.flush();

    if (interactive) RunInteractive(session);
    else RunBatch(session);

    std::lock_guard<std::mutex> lock(sessionMutex);
    SaveOnce(session);
    std::cout.flush();
    return 0;
}

}  // namespace
}  // namespace quenmark

int main() { return quenmark::Main(); }
