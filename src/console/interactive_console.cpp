#include "console/interactive_console.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "console/batch_input.h"
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

void PrepareEditor(const QuenmarkLineEditor& editor) {
    *editor.GetcFunction = ReadEditorByte;
    *editor.CompletionEntryFunction = NoCompletion;
}

void SyncEditorHistory(const QuenmarkLineEditor& editor, const TLineSession& session) {
    editor.ClearHistory();
    for (const std::string& entry : session.History()) editor.AddHistory(entry.c_str());
}

// Without the editor's library: the prompt, and each line as the terminal
// hands it over.
void RunPlainPrompt(TConsoleRun& run) {
    for (;;) {
        std::cout << "> " << std::flush;
        std::string line;
        int byte = EOF;
        bool overlong = false;  // the rest of the line is read but not kept
        while ((byte = ReadEditorByte(stdin)) != EOF && byte != '\n') {
            if (line.size() < MaxInputLineBytes) line += static_cast<char>(byte);
            else overlong = true;
        }
        if (byte == EOF && promptInterrupted.exchange(false)) {
            std::cout << std::endl;
            continue;
        }
        if (byte == EOF && line.empty()) break;
        const bool written = overlong ? RefuseOverlongLine(run) : RunLine(run, TrimLine(line), true);
        if (!written || byte == EOF) break;
    }
}

}  // namespace

void InterruptPrompt() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(InterruptPipe().Fds[1], &byte, 1);
}

void RunInteractive(TConsoleRun& run) {
    RememberTerminal();
    std::string problem;
    const QuenmarkLineEditor* const loaded = LoadLineEditor(problem);
    if (!loaded) {
        std::cerr << "quenmark-console: line editing is not available: " << problem << std::endl;
        RunPlainPrompt(run);
        return;
    }
    const QuenmarkLineEditor& editor = *loaded;
    PrepareEditor(editor);
    InstallLineEditor(editor, run.Session, run.Interpreter);
    SyncEditorHistory(editor, run.Session);
    for (;;) {
        char* input = editor.ReadLine("> ");
        if (!input && promptInterrupted.exchange(false)) {
            std::cout << "^C" << std::endl;
            continue;
        }
        if (!input) break;
        // The editor has read the line whole already; it is only refused.
        if (std::strlen(input) > MaxInputLineBytes) {
            std::free(input);
            if (!RefuseOverlongLine(run)) break;
            continue;
        }
        const std::string line = TrimLine(input);
        std::free(input);
        if (!RunLine(run, line, true)) break;
        SyncEditorHistory(editor, run.Session);
    }
}

}  // namespace quenmark
