// quenmark-console: the calculator in a terminal. With a terminal on
// standard input it prompts and edits lines; otherwise it writes exactly
// the lines the desktop program's log would show. Expressions as arguments,
// script files and -q print only the results.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/line_session.h"
#include "app/module_crash_handler.h"
#include "app/prepared_save.h"
#include "app/process_objects.h"
#include "app/settings_save.h"
#include "console/batch_input.h"
#include "console/command_line.h"
#include "console/console_output.h"
#include "console/console_run.h"
#include "console/crash_flushed_output.h"
#include "console/ending_signals.h"
#include "console/interactive_console.h"
#include "platform/atomic_file.h"

namespace quenmark {

namespace {

constexpr size_t OutputGatherBytes = 8192;

// The script files, opened before anything is loaded so that a wrong name
// ends the run without touching the settings; "-" is standard input.
struct TScriptFiles {
    std::vector<std::unique_ptr<std::ifstream>> Files;
    std::vector<std::istream*> Streams;
};

bool OpenScriptFiles(const std::vector<std::string>& names, TScriptFiles& scripts) {
    for (const std::string& name : names) {
        if (name == "-") {
            scripts.Streams.push_back(&std::cin);
            continue;
        }
        auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
        if (!*file) {
            std::cerr << "quenmark-console: " << name << ": " << std::strerror(errno) << std::endl;
            return false;
        }
        scripts.Streams.push_back(file.get());
        scripts.Files.push_back(std::move(file));
    }
    return true;
}

TOutputStyle ChooseStyle(const TCommandLine& options, bool interactive) {
    if (interactive) return TOutputStyle::Interactive;
    return options.ResultsOnly() ? TOutputStyle::ResultsOnly : TOutputStyle::Log;
}

// Another settings file replaces the usual one before the settings are read.
void UseSettingsFile(const std::string& fileName) {
    if (fileName.empty()) return;
    Context().SetSettingsFileName(fileName);
    Settings().ReadFrom(fileName);
}

// The banner and the welcome text; with -q or only results, the one notice
// that matters, a damaged settings file moved aside, goes to standard error.
void Greet(const TCommandLine& options, TLineSession& session, TConsoleOutput& output) {
    if (options.ResultsOnly()) {
        if (!Settings().DamagedFileMovedTo().empty())
            output.Notice("quenmark-console: " + MovedAsideText(Context(), Settings().DamagedFileMovedTo()));
        return;
    }
    output.Print(TLineSession::Banner());
    for (const std::string& line : session.WelcomeLines()) output.Print(line);
}

void RunInput(const TCommandLine& options, TScriptFiles& scripts, TConsoleRun& run) {
    if (!std::cout) return;
    if (options.HasOwnLines()) {
        for (std::istream* script : scripts.Streams)
            if (!RunStreamLines(run, *script)) return;
        RunTextLines(run, options.Expressions);
    } else if (run.Interactive) {
        RunInteractive(run);
    } else {
        RunStreamLines(run, std::cin);
    }
}

int Calculate(const TCommandLine& options) {
    TScriptFiles scripts;
    if (!OpenScriptFiles(options.ScriptFiles, scripts)) return 2;
    // A reader that goes away (`| head`) makes writes fail instead of ending
    // the process before it saves.
    signal(SIGPIPE, SIG_IGN);
    IgnoreFileSizeSignal();
    SettingsLockWait().Notice = [](const std::string& text) { std::cerr << "quenmark-console: " << text << std::endl; };
    const bool interactive = !options.HasOwnLines() && isatty(STDIN_FILENO);
    // The output of a line is gathered up to the size of the stream's own
    // buffer, and written when no further input is waiting.
    TConsoleOutput output(ChooseStyle(options, interactive), std::cout, std::cerr, isatty(STDOUT_FILENO),
                          isatty(STDERR_FILENO), OutputGatherBytes);
    UseSettingsFile(options.SettingsFile);
    Settings().ReadOnly = options.NoSave;
    // Before the modules load: a crash in a module's start is caught too.
    FlushOnCrash(&output);
    CatchModuleCrashes({"quenmark-console", {}, FlushOutputOnCrash});
    StartCore();
    for (const std::string& notice : ModuleList().Notices()) output.Notice("quenmark-console: " + notice);
    TLineSession session(Interpreter(), Settings());
    session.LoadHistory();
    session.RestoreOutputFormat();
    session.OnLogLine = [&output](const std::string& line) { output.Log(line); };
    Greet(options, session, output);
    std::cout.flush();

    TPreparedSave prepared(Settings(), Interpreter().Variables(), session.InputHistory());
    TConsoleRun run(session, prepared, output, interactive, !options.NoSave);
    WatchEndingSignals(run);
    SaveOnModuleCrash(&prepared, run.Saving);
    RunInput(options, scripts, run);

    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    const bool saved = SaveOnce(run);
    output.Flush();
    FlushOnCrash(nullptr);
    // In the log and at the prompt a failed line is shown like any other, as
    // in the window; only a script reports it in the status.
    const bool failed = !interactive && options.ResultsOnly() && run.AnyLineFailed;
    return saved && !failed ? 0 : 1;
}

int Main(int argc, const char* const argv[]) {
    // The streams need not stay in step with C stdio, which costs a call per
    // character on input.
    std::ios::sync_with_stdio(false);
    UseCrashFlushedStandardOutput();
    // Reading a line must not flush the output: a line's run flushes once
    // when no further input is waiting, and the prompt flushes on its own.
    std::cin.tie(nullptr);
    const TCommandLine options = ParseCommandLine(argc, argv);
    switch (options.Action) {
    case TConsoleAction::Help: std::cout << UsageText(); return 0;
    case TConsoleAction::Version: std::cout << VersionText(); return 0;
    case TConsoleAction::Misuse: std::cerr << options.Problem << std::endl; return 2;
    case TConsoleAction::Run: break;
    }
    return Calculate(options);
}

}  // namespace
}  // namespace quenmark

int main(int argc, char* argv[]) { return quenmark::Main(argc, argv); }
