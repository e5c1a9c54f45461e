#pragma once

#include <string>
#include <vector>

namespace quenmark {

// What the command line asks the terminal front end to do.
enum class TConsoleAction {
    Run,      // calculate
    Help,     // print the usage text
    Version,  // print the name and version
    Misuse,   // an unknown option or a missing argument: a hint and status 2
};

// The options and arguments of one run. Options come first: the first
// argument that is not an option, or "--", ends them, so that an
// expression may begin with "-".
struct TCommandLine {
    TConsoleAction Action = TConsoleAction::Run;
    bool Quiet = false;   // -q: results only, for lines from standard input too
    bool NoSave = false;  // --no-save: the settings file is never written
    bool Fresh = false;   // --fresh: nothing is loaded from the settings file or saved to it
    bool History = false; // --history: a script's lines are entered into the history too
    std::string SettingsFile;              // -s FILE; empty for the usual one
    std::vector<std::string> ScriptFiles;  // -f FILE, in order; "-" is standard input
    std::vector<std::string> Expressions;  // the arguments after the options
    std::string Problem;                   // with Misuse: the one-line hint

    // Lines come from script files or arguments rather than standard input.
    bool HasOwnLines() const { return !ScriptFiles.empty() || !Expressions.empty(); }
    // Only results are written: no banner, no welcome, no echo, and errors
    // go to standard error. A script file is quiet, as with bc and python.
    bool ResultsOnly() const { return Quiet || HasOwnLines(); }
    // A script: lines from arguments or files, or piped to -q. It starts
    // with the display of a fresh session, prints plain results and keeps
    // its display commands and, without --history, its lines to itself.
    // -q at a terminal only leaves out the banner.
    bool IsScript(bool standardInputIsTerminal) const {
        return HasOwnLines() || (Quiet && !standardInputIsTerminal);
    }
    // Whether the settings file may be written at all.
    bool Saves() const { return !NoSave && !Fresh; }
};

// Parses the arguments with getopt_long; argv is not changed.
TCommandLine ParseCommandLine(int argc, const char* const argv[]);

// The text of --help and of --version.
std::string UsageText();
std::string VersionText();

}  // namespace quenmark
