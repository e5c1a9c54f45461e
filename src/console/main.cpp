// quenmark-console: the calculator in a terminal. With a terminal on
// standard input it prompts and edits lines; otherwise it writes exactly
// the lines the desktop program's log would show. Expressions as arguments,
// script files and -q print only the results.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/calculator_process.h"
#include "app/line_session.h"
#include "app/module_crash_handler.h"
#include "app/prepared_save.h"
#include "app/settings_file.h"
#include "app/settings_save.h"
#include "base/number_separators.h"
#include "console/batch_input.h"
#include "console/command_line.h"
#include "console/console_output.h"
#include "console/console_run.h"
#include "console/crash_flushed_output.h"
#include "console/ending_signals.h"
#include "console/interactive_console.h"
#include "console/script_lines.h"
#include "platform/atomic_file.h"

namespace quenmark {

namespace {

constexpr size_t OutputGatherBytes = 8192;

// The script files, opened before anything is loaded so that a wrong name
// ends the run without touching the settings; "-" is standard input.
struct TScriptFiles {
    std::vector<std::unique_ptr<std::ifstream>> Files;
    std::vector<std::istream*> Streams;
    std::vector<std::string> Names;  // as problems with them are reported
};

constexpr const char* StandardInputName = "standard input";

bool RefuseInput(const std::string& name, int error) {
    std::cerr << "quenmark-console: " << name << ": " << std::strerror(error) << std::endl;
    return false;
}

// A directory opens for reading, but fails at the first read: it is told
// before anything runs.
bool IsDirectory(const struct stat& status) { return S_ISDIR(status.st_mode); }

bool OpenScriptFile(const std::string& name, TScriptFiles& scripts) {
    auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
    if (!*file) return RefuseInput(name, errno);
    struct stat status {};
    if (stat(name.c_str(), &status) == 0 && IsDirectory(status)) return RefuseInput(name, EISDIR);
    scripts.Streams.push_back(file.get());
    scripts.Names.push_back(name);
    scripts.Files.push_back(std::move(file));
    return true;
}

bool OpenScriptFiles(const TCommandLine& options, TScriptFiles& scripts) {
    bool readsStandardInput = !options.HasOwnLines();
    for (const std::string& name : options.ScriptFiles) {
        if (name != "-") {
            if (!OpenScriptFile(name, scripts)) return false;
            continue;
        }
        readsStandardInput = true;
        scripts.Streams.push_back(&std::cin);
        scripts.Names.push_back(StandardInputName);
    }
    struct stat status {};
    if (readsStandardInput && fstat(STDIN_FILENO, &status) == 0 && IsDirectory(status))
        return RefuseInput(StandardInputName, EISDIR);
    return true;
}

TOutputStyle ChooseStyle(const TCommandLine& options, bool interactive) {
    if (interactive) return TOutputStyle::Interactive;
    return options.ResultsOnly() ? TOutputStyle::ResultsOnly : TOutputStyle::Log;
}

// A file named with -s that holds something other than settings is neither
// set aside nor replaced, as the usual file would be: the run stops before
// anything is read. A file that does not exist yet is created by the save;
// an empty one is taken as such a file, so that it is not set aside as
// damaged either.
bool PrepareSettingsFile(const TCCContext& context, const std::string& fileName, bool saving) {
    struct stat status {};
    if (stat(fileName.c_str(), &status) != 0) return true;
    if (IsDirectory(status)) return RefuseInput(fileName, EISDIR);
    if (status.st_size == 0 && S_ISREG(status.st_mode)) {
        if (saving) unlink(fileName.c_str());
        return true;
    }
    if (IsSettingsFileValid(context, fileName)) return true;
    std::cerr << "quenmark-console: " << fileName << ": not a settings file; it was left as it is" << std::endl;
    return false;
}

// The banner and the welcome text; with -q or only results, the one notice
// that matters, a damaged settings file moved aside, goes to standard error.
// Returns whether a welcome text was shown.
bool Greet(const TCommandLine& options, const TSettings& settings, TLineSession& session, TConsoleOutput& output) {
    if (options.ResultsOnly()) {
        if (!settings.DamagedFileMovedTo().empty())
            output.Notice("quenmark-console: " + MovedAsideText(session.Context(), settings.DamagedFileMovedTo()));
        for (const std::string& notice : session.FunctionNotices()) output.Notice("quenmark-console: " + notice);
        return false;
    }
    output.Print(TLineSession::Banner());
    // A fresh run reads nothing of the last session, its first start either.
    const std::vector<std::string> welcome = options.Fresh ? std::vector<std::string>{} : session.WelcomeLines();
    for (const std::string& line : welcome) output.Print(line);
    return !welcome.empty();
}

// The start-up of the core; with --fresh without the settings file and the
// saved variables.
void StartCore(const TCommandLine& options, TCalculatorProcess& process) {
    if (!options.Fresh) return process.StartCore();
    process.LoadLanguages();
    process.CreateInterpreter();
    process.LoadModules();
}

// The display of a fresh session for a script: decimal and no mask (the
// interpreter's own start), "." and no grouping whatever the locale says,
// and its "@" commands kept out of the settings. Other runs take the
// display of the last session.
void SetUpDisplay(bool script, TCalculatorProcess& process, TLineSession& session) {
    if (!script) return session.RestoreOutputFormat();
    process.Context().SetSeparators(NumberSeparators{});
    session.KeepsOutputFormat = false;
}

// Whether every input could be read: false after a read failed part way
// (reported), when the run ends with status 2.
bool RunInput(const TCommandLine& options, TScriptFiles& scripts, TConsoleRun& run) {
    if (!std::cout) return true;
    if (options.HasOwnLines()) {
        for (size_t i = 0; i < scripts.Streams.size(); ++i) {
            const TInputEnd end = RunStreamLines(run, *scripts.Streams[i], scripts.Names[i], TLineSource::File);
            if (end != TInputEnd::Finished) return end != TInputEnd::Unreadable;
        }
        RunTextLines(run, options.Expressions);
    } else if (run.Interactive) {
        RunInteractive(run);
    } else {
        // Piped lines with -q are a script and may hold comments; the log
        // without options shows every line as the window would.
        const TLineSource source = options.Quiet ? TLineSource::Script : TLineSource::Log;
        return RunStreamLines(run, std::cin, StandardInputName, source) != TInputEnd::Unreadable;
    }
    return true;
}

// Whether everything meant for standard output was written. A failed write
// is told on standard error, except where the reader has gone (a closed
// pipe): it asked for no more.
bool ReportOutputFailure() {
    if (std::cout.good()) return true;
    const int error = StandardOutputError() != 0 ? StandardOutputError() : EIO;
    if (error != EPIPE) std::cerr << MessagePrefix << "standard output: " << std::strerror(error) << std::endl;
    return false;
}

int Calculate(const TCommandLine& options) {
    TScriptFiles scripts;
    if (!OpenScriptFiles(options, scripts)) return 2;
    // Never destroyed: the modules stay loaded until the process ends, as
    // the watcher of the ending signals and the crash and exit handlers may
    // still run while main returns. The static pointer keeps it reachable.
    // Another settings file replaces the usual one before anything is read.
    static TCalculatorProcess* const process = new TCalculatorProcess(options.SettingsFile);
    if (!options.Fresh && !options.SettingsFile.empty() &&
        !PrepareSettingsFile(process->Context(), options.SettingsFile, options.Saves()))
        return 2;
    // A reader that goes away (`| head`) makes writes fail instead of ending
    // the process before it saves.
    signal(SIGPIPE, SIG_IGN);
    IgnoreFileSizeSignal();
    SettingsLockWait().Notice = [](const std::string& text) { std::cerr << "quenmark-console: " << text << std::endl; };
    const bool interactive = !options.HasOwnLines() && isatty(STDIN_FILENO);
    const bool script = options.IsScript(isatty(STDIN_FILENO));
    // The output of a line is gathered up to the size of the stream's own
    // buffer, and written when no further input is waiting.
    TConsoleOutput output(ChooseStyle(options, interactive), std::cout, std::cerr, isatty(STDOUT_FILENO),
                          isatty(STDERR_FILENO), OutputGatherBytes);
    output.SetErrorPrefix(MessagePrefix);
    TSettings& settings = process->Settings();
    settings.ReadOnly = !options.Saves();
    // Before the modules load: a crash in a module's start is caught too.
    FlushOnCrash(&output);
    CatchModuleCrashes({"quenmark-console", {}, FlushOutputOnCrash});
    StartCore(options, *process);
    for (const std::string& notice : process->ModuleList().Notices()) output.Notice("quenmark-console: " + notice);
    TCCInterpreter& interpreter = process->Interpreter();
    TLineSession session(interpreter, settings);
    if (!options.Fresh) session.LoadHistory();
    SetUpDisplay(script, *process, session);
    session.OnLogLine = [&output](const std::string& line) { output.Log(line); };
    const bool welcomed = Greet(options, settings, session, output);
    std::cout.flush();
    session.ForgetLoadedFile();

    // Built at the first change: a run that changes nothing builds none.
    TPreparedSave prepared(settings, interpreter.Variables(), session.InputHistory(), TPrepareStart::AtFirstChange);
    session.KeepFunctionsIn(prepared);
    TConsoleRun run(session, interpreter, prepared, output, interactive, options.Saves());
    run.RecordsHistory = !script || options.History;
    run.PlainResults = script;
    run.SavesUnchanged = welcomed;
    WatchEndingSignals(run);
    SaveOnModuleCrash(&prepared, run.Saving);
    const bool inputRead = RunInput(options, scripts, run);

    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    const bool saved = SaveOnce(run);
    output.Flush();
    FlushOnCrash(nullptr);
    // In the log and at the prompt a failed line is shown like any other, as
    // in the window; only a script reports it in the status.
    const bool failed = !interactive && options.ResultsOnly() && run.AnyLineFailed;
    const bool written = ReportOutputFailure();
    if (!inputRead) return 2;
    return saved && !failed && written ? 0 : 1;
}

// Prints the text of --help or --version: status 0, or 1 when it could not
// be written.
int Answer(const std::string& text) {
    signal(SIGPIPE, SIG_IGN);
    std::cout << text;
    std::cout.flush();
    return ReportOutputFailure() ? 0 : 1;
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
    case TConsoleAction::Help: return Answer(UsageText());
    case TConsoleAction::Version: return Answer(VersionText());
    case TConsoleAction::Misuse: std::cerr << options.Problem << std::endl; return 2;
    case TConsoleAction::Run: break;
    }
    return Calculate(options);
}

}  // namespace
}  // namespace quenmark

int main(int argc, char* argv[]) { return quenmark::Main(argc, argv); }
