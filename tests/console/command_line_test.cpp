#include "console/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenmark {
namespace {

TCommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quenmark-console");
    return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

using Strings = std::vector<std::string>;

struct ParseRow {
    const char* name;
    std::vector<const char*> arguments;
    TConsoleAction action;
    bool resultsOnly;
    Strings expressions;
};

TEST(CommandLineTest, ActionsAndExpressions) {
    const ParseRow rows[] = {
        {"nothing", {}, TConsoleAction::Run, false, {}},
        {"expressions", {"1+2", "x"}, TConsoleAction::Run, true, {"1+2", "x"}},
        {"quiet", {"-q"}, TConsoleAction::Run, true, {}},
        {"double dash ends the options", {"--", "-5+3", "-q"}, TConsoleAction::Run, true, {"-5+3", "-q"}},
        {"the first expression ends them", {"2", "-1"}, TConsoleAction::Run, true, {"2", "-1"}},
        {"help", {"--help"}, TConsoleAction::Help, false, {}},
        {"version", {"-V"}, TConsoleAction::Version, false, {}},
        {"unknown short option", {"-x"}, TConsoleAction::Misuse, false, {}},
        {"unknown long option", {"--nope=1"}, TConsoleAction::Misuse, false, {}},
        {"unknown letter after -q", {"-qx"}, TConsoleAction::Misuse, true, {}},
        {"negative number without --", {"-5+3"}, TConsoleAction::Misuse, false, {}},
        {"missing file name", {"-f"}, TConsoleAction::Misuse, false, {}},
        {"missing settings file", {"--settings"}, TConsoleAction::Misuse, false, {}},
    };
    for (const ParseRow& row : rows) {
        const TCommandLine line = Parse(row.arguments);
        EXPECT_EQ(line.Action, row.action) << row.name;
        EXPECT_EQ(line.ResultsOnly(), row.resultsOnly) << row.name;
        EXPECT_EQ(line.Expressions, row.expressions) << row.name;
        EXPECT_EQ(line.Problem.empty(), row.action != TConsoleAction::Misuse) << row.name;
    }
}

TEST(CommandLineTest, FilesAndSettings) {
    const TCommandLine line = Parse({"-f", "a.txt", "--file=-", "--no-save", "-s", "my.cfg", "3"});
    EXPECT_EQ(line.ScriptFiles, (Strings{"a.txt", "-"}));
    EXPECT_TRUE(line.NoSave);
    EXPECT_EQ(line.SettingsFile, "my.cfg");
    EXPECT_EQ(line.Expressions, Strings{"3"});
    EXPECT_TRUE(line.ResultsOnly());  // a script file prints results only
    EXPECT_FALSE(Parse({"--no-save", "--settings=x.cfg"}).ResultsOnly());
}

TEST(CommandLineTest, ScriptModeFreshAndHistory) {
    const struct {
        std::vector<const char*> arguments;
        bool terminal;  // standard input is a terminal
        bool script, saves, fresh, history;
    } rows[] = {
        {{}, false, false, true, false, false},
        {{}, true, false, true, false, false},
        {{"-q"}, false, true, true, false, false},
        {{"-q"}, true, false, true, false, false},
        {{"1+1"}, true, true, true, false, false},
        {{"-f", "a.txt"}, false, true, true, false, false},
        {{"--fresh", "1"}, false, true, false, true, false},
        {{"--no-save", "--history", "1"}, false, true, false, false, true},
    };
    for (const auto& row : rows) {
        const TCommandLine line = Parse(row.arguments);
        const std::string name = row.arguments.empty() ? "nothing" : row.arguments[0];
        EXPECT_EQ(line.Action, TConsoleAction::Run) << name;
        EXPECT_EQ(line.IsScript(row.terminal), row.script) << name << (row.terminal ? " at a terminal" : "");
        EXPECT_EQ(line.Saves(), row.saves) << name;
        EXPECT_EQ(line.Fresh, row.fresh) << name;
        EXPECT_EQ(line.History, row.history) << name;
    }
}

}  // namespace
}  // namespace quenmark
