#include "console/console_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quenmark {
namespace {

struct Streams {
    std::ostringstream out, errors;
};

// One input line as the session logs it: the echo, then its lines.
void LogInputLine(TConsoleOutput& output, const std::vector<std::string>& lines, bool succeeded) {
    output.BeginLine();
    for (const std::string& line : lines) output.Log(line);
    output.EndLine(succeeded);
}

TEST(ConsoleOutputTest, EachStyleShowsTheLinesItShould) {
    struct Row {
        TOutputStyle style;
        std::string out, errors;
    };
    const Row rows[] = {
        {TOutputStyle::Log, "> 1+1\n2\n> PRINT(1)/0\n1\nDivision by zero.\n", ""},
        {TOutputStyle::Interactive, "2\n1\nDivision by zero.\n", ""},
        {TOutputStyle::ResultsOnly, "2\n1\n", "Division by zero.\n"},
    };
    for (const Row& row : rows) {
        Streams streams;
        TConsoleOutput output(row.style, streams.out, streams.errors, false, false);
        LogInputLine(output, {"> 1+1", "2"}, true);
        LogInputLine(output, {"> PRINT(1)/0", "1", "Division by zero."}, false);
        EXPECT_EQ(streams.out.str(), row.out) << static_cast<int>(row.style);
        EXPECT_EQ(streams.errors.str(), row.errors) << static_cast<int>(row.style);
    }
}

// A script's plain result takes the place of the result line, after any
// line printed before it; a text loses its quotes, a confirmation goes. The
// other styles keep the session's lines.
TEST(ConsoleOutputTest, APlainResultReplacesTheResultLineOnlyWithResultsOnly) {
    enum Change { Replace, Unquote, Drop };
    const struct {
        TOutputStyle style;
        Change change;
        std::vector<std::string> lines;
        std::string out;
    } rows[] = {
        {TOutputStyle::Log, Replace, {"> PRINT(1)+16", "1", "17  (0x11)"}, "> PRINT(1)+16\n1\n17  (0x11)\n"},
        {TOutputStyle::ResultsOnly, Replace, {"> PRINT(1)+16", "1", "17  (0x11)"}, "1\n17\n"},
        {TOutputStyle::ResultsOnly, Unquote, {"> \"a\"", "\"a \"b\"\""}, "a \"b\"\n"},
        {TOutputStyle::ResultsOnly, Unquote, {"> \"\"", "\"\""}, "\n"},
        {TOutputStyle::Log, Unquote, {"> \"a\"", "\"a\""}, "> \"a\"\n\"a\"\n"},
        {TOutputStyle::ResultsOnly, Drop, {"> @HEX", "Output: hexadecimal."}, ""},
    };
    for (const auto& row : rows) {
        Streams streams;
        TConsoleOutput output(row.style, streams.out, streams.errors, false, false);
        output.BeginLine();
        for (const std::string& line : row.lines) output.Log(line);
        switch (row.change) {
        case Replace: output.ReplaceResultLine("17"); break;
        case Unquote: output.UnquoteResultLine(); break;
        case Drop: output.DropResultLine(); break;
        }
        output.EndLine(true);
        EXPECT_EQ(streams.out.str(), row.out) << row.lines.front();
    }
}

TEST(ConsoleOutputTest, OnlyTerminalsGetEscapedTextAndLineBreaksSplit) {
    for (const bool terminal : {false, true}) {
        Streams streams;
        TConsoleOutput output(TOutputStyle::ResultsOnly, streams.out, streams.errors, terminal, terminal);
        LogInputLine(output, {"> x", "\"\x1b[2J\"", "a\r\nb"}, true);
        LogInputLine(output, {"> y", "bad \x1b"}, false);
        EXPECT_EQ(streams.out.str(), terminal ? "\"^[[2J\"\na\nb\n" : "\"\x1b[2J\"\na\nb\n");
        EXPECT_EQ(streams.errors.str(), terminal ? "bad ^[\n" : "bad \x1b\n");
    }
}

// A line break anywhere in a long text splits it, and the echo too.
TEST(ConsoleOutputTest, BreaksInLongTextsSplitThemToo) {
    Streams streams;
    TConsoleOutput output(TOutputStyle::Log, streams.out, streams.errors, false, false);
    output.BeginLine();
    output.Echo("1234567\r89");
    output.Line("first line\nsecond");
    output.Line("0123456789abcdef\r");
    output.Line("0123456789abcdefg");
    output.EndLine(true);
    EXPECT_EQ(streams.out.str(), "> 1234567\n89\nfirst line\nsecond\n0123456789abcdef\n0123456789abcdefg\n");
}

}  // namespace
}  // namespace quenmark
