#include "console/command_line.h"

#include <getopt.h>

#include "base/program_version.h"

namespace quenmark {

namespace {

constexpr const char* ProgramName = "quenmark-console";

// "+" stops at the first argument that is not an option; ":" reports a
// missing argument apart from an unknown option.
constexpr const char* ShortOptions = "+:qf:s:hV";

constexpr int NoSaveOption = 256;
constexpr int FreshOption = 257;
constexpr int HistoryOption = 258;

const option LongOptions[] = {
    {"quiet", no_argument, nullptr, 'q'},
    {"file", required_argument, nullptr, 'f'},
    {"settings", required_argument, nullptr, 's'},
    {"no-save", no_argument, nullptr, NoSaveOption},
    {"fresh", no_argument, nullptr, FreshOption},
    {"history", no_argument, nullptr, HistoryOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

std::string Hint(const std::string& problem) {
    return std::string(ProgramName) + ": " + problem + "; try '" + ProgramName + " --help'.";
}

// The option as the user wrote it, from the argument getopt_long was
// reading: a long one up to its "=", a letter from optopt, named with the
// group of letters it was written in ("'-x' in '-qx'").
std::string OptionName(const std::string& written) {
    if (written.rfind("--", 0) == 0) return "'" + written.substr(0, written.find('=')) + "'";
    const std::string letter = std::string("-") + static_cast<char>(optopt);
    return written == letter ? "'" + letter + "'" : "'" + letter + "' in '" + written + "'";
}

// Applies one option; false when the command line is misused.
bool TakeOption(TCommandLine& line, int found, const std::string& written) {
    switch (found) {
    case 'q': line.Quiet = true; return true;
    case 'f': line.ScriptFiles.emplace_back(optarg); return true;
    case 's': line.SettingsFile = optarg; return true;
    case NoSaveOption: line.NoSave = true; return true;
    case FreshOption: line.Fresh = true; return true;
    case HistoryOption: line.History = true; return true;
    case 'h': line.Action = TConsoleAction::Help; return true;
    case 'V': line.Action = TConsoleAction::Version; return true;
    case ':': line.Problem = Hint("option " + OptionName(written) + " needs a file name"); return false;
    default: line.Problem = Hint("unknown option " + OptionName(written)); return false;
    }
}

}  // namespace

TCommandLine ParseCommandLine(int argc, const char* const argv[]) {
    TCommandLine line;
    // getopt_long keeps its position in globals: 0 starts it afresh. It does
    // not reorder the arguments with "+", so argv stays as it is.
    optind = 0;
    opterr = 0;
    char* const* arguments = const_cast<char* const*>(argv);
    for (;;) {
        // The argument being read: getopt_long moves past a group of
        // letters only after its last one, so this is the one it reads from.
        const int reading = optind > 0 ? optind : 1;
        const int found = getopt_long(argc, arguments, ShortOptions, LongOptions, nullptr);
        if (found == -1) break;
        if (!TakeOption(line, found, reading < argc ? argv[reading] : "")) {
            line.Action = TConsoleAction::Misuse;
            return line;
        }
    }
    for (int i = optind; i < argc; ++i) line.Expressions.emplace_back(argv[i]);
    return line;
}

std::string UsageText() {
    return std::string("Usage: ") + ProgramName + " [OPTION]... [EXPRESSION]...\n" +
           "The Quenmark expression calculator in a terminal.\n"
           "\n"
           "With EXPRESSIONs, each is calculated as an input line, in order, and only\n"
           "the results are printed. Without them, lines are read from standard input:\n"
           "from a terminal with line editing, otherwise echoed with their results as\n"
           "the window's log shows them.\n"
           "\n"
           "  -q, --quiet          print only results, also for lines from standard\n"
           "                       input; with a terminal, leave out the banner\n"
           "  -f, --file=FILE      calculate the lines of FILE (\"-\" for standard input),\n"
           "                       printing only results; several may be given, and\n"
           "                       EXPRESSIONs run after them\n"
           "      --no-save        never write the settings file: variables and\n"
           "                       history of this run are not kept\n"
           "      --fresh          neither read nor write the settings file: start\n"
           "                       without saved variables, keep nothing\n"
           "      --history        enter a script's lines into the history too\n"
           "  -s, --settings=FILE  use FILE as the settings file\n"
           "  -h, --help           print this help and exit\n"
           "  -V, --version        print the version and exit\n"
           "\n"
           "In script files and in lines piped to -q, a line whose first character\n"
           "other than a blank is '#' is a comment, also a first line \"#!...\".\n"
           "\n"
           "A script (EXPRESSIONs, -f, or lines piped to -q) starts with the display\n"
           "of a fresh session: decimal, no format mask, '.' as the decimal point and\n"
           "no digit grouping, whatever was saved or the locale says. Its '@' commands\n"
           "last until it ends and are never saved; saved variables are loaded. Each\n"
           "result is one plain line: a number as a literal that reads back as the\n"
           "same value, a string without quotes. A script's lines are not entered\n"
           "into the history unless --history is given. The settings file is written\n"
           "only when the run changed something that is kept.\n"
           "\n"
           "Options come before the expressions; \"--\" ends them, so that an\n"
           "expression may begin with \"-\". When only results are printed, an error\n"
           "goes to standard error.\n"
           "\n"
           "Exit status: 0 when every line succeeded, 1 when a line failed (where only\n"
           "results are printed), the settings could not be saved or standard output\n"
           "could not be written, 2 for a wrong option, input that cannot be read as\n"
           "lines, or a settings file given with -s that holds something else. A line\n"
           "longer than 16 MiB fails uncalculated. Messages on standard error start\n"
           "with \"quenmark-console: \"; an error in a script file names FILE:LINE:.\n"
           "\n"
           "Examples:\n"
           "  " + ProgramName + " '2 + 3 * 4'\n"
           "  " + ProgramName + " --no-save -- -5+3\n"
           "  echo 'SQRT(2)' | " + ProgramName + " -q\n";
}

std::string VersionText() {
    return std::string(ProgramName) + " (" + ProductNameText + ") " + FileVersionText + "\n" +
           "Copyright (C) 2026 The Quenmark developers.\n"
           "License MIT: <https://opensource.org/licenses/MIT>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace quenmark
