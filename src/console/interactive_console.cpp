#include "console/interactive_console.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <editline/readline.h>

#include "app/process_objects.h"
#include "console/line_editor.h"
#include "console/terminal_state.h"

namespace quenmark {

namespace {

// The watcher of the signals writes a byte here for Ctrl-C; the editor's
// input waits on it beside the terminal.
struct TInterruptPipe {
    TInterruptPipe() {
        if (pipe2(Fds, O_CLOEXEC | O_NONBLOCK) != 0) Fds[0] = Fds[1] = -1;
    }
    int Fds[2];
};

TInterruptPipe& InterruptPipe() {
    static TInterruptPipe pipe;
    return pipe;
}

std::atomic<bool> promptInterrupted{false};

void DrainInterrupts() {
    char bytes[64];
    while (read(InterruptPipe().Fds[0], bytes, sizeof bytes) > 0) {
    }
}

// The editor's input, one byte at a time as its own reader takes it: a
// Ctrl-C ends the reading as the end of input would, marked as interrupted.
int ReadEditorByte(FILE* input) {
    pollfd ready[2] = {{fileno(input), POLLIN, 0}, {InterruptPipe().Fds[0], POLLIN, 0}};
    for (;;) {
        if (poll(ready, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return EOF;
        }
        if (ready[1].revents & POLLIN) {
            DrainInterrupts();
            promptInterrupted = true;
            return EOF;
        }
        unsigned char byte = 0;
        const ssize_t count = read(fileno(input), &byte, 1);
        if (count == 1) return byte;
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return EOF;
    }
}

// Tab offers no names of its own; a file name never belongs in a line.
char* NoCompletion(const char*, int) { return nullptr; }

void PrepareEditor() {
    rl_getc_function = ReadEditorByte;
    rl_completion_entry_function = NoCompletion;
}

void SyncEditorHistory(const TLineSession& session) {
    clear_history();
    for (const std::string& entry : session.History()) add_history(entry.c_str());
}

}  // namespace

void InterruptPrompt() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(InterruptPipe().Fds[1], &byte, 1);
}

void RunInteractive(TConsoleRun& run) {
    RememberTerminal();
    PrepareEditor();
    InstallLineEditor(run.Session, Interpreter());
    SyncEditorHistory(run.Session);
    for (;;) {
        char* input = readline("> ");
        if (!input && promptInterrupted.exchange(false)) {
            std::cout << "^C" << std::endl;
            continue;
        }
        if (!input) break;
        const std::string line = TrimLine(input);
        std::free(input);
        if (!RunLine(run, line, true)) break;
        SyncEditorHistory(run.Session);
    }
}

}  // namespace quenmark
