#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "app/line_log.h"
#include "base/byte_buffer.h"

namespace quenmark {

// How the lines a session logs reach the terminal or the pipe.
enum class TOutputStyle {
    Log,          // every line, as the window's log shows it
    Interactive,  // every line but the echo: the prompt already shows it
    ResultsOnly,  // no echo, and the error of a failed line on standard error
};

// Writes the lines of each input line to standard output, one per line; a
// line break inside a text starts a new line. Text bound for a terminal has
// its control bytes made visible; other output is written byte for byte.
// The lines of an input line, its echo first, are gathered in one buffer,
// kept from line to line, and handed to the stream at its end, or, with a
// gathering size, once that many bytes are gathered or on Flush.
class TConsoleOutput : public TLineLog {
public:
    TConsoleOutput(TOutputStyle style, std::ostream& out, std::ostream& errors, bool outIsTerminal,
                   bool errorsAreTerminal, size_t gatherBytes = 0);

    // A line outside any input line: the banner, the welcome text.
    void Print(const std::string& line);
    // Around the lines logged for one input line. With ResultsOnly the last
    // line is held until the end, so that the error text, the last of a
    // failed line, goes to standard error.
    void BeginLine();
    // The session's lines (TLineLog): the echo, shown in the Log style
    // only, then the output lines.
    void Echo(const std::string& line) override;
    void Line(const std::string& text) override;
    // A logged line as OnLogLine gives them: the first of an input line is
    // its echo, "> " and the line.
    void Log(const std::string& line);
    // With ResultsOnly, puts text in place of the line's last line, its
    // result, before EndLine.
    void ReplaceResultLine(std::string text);
    // With ResultsOnly, takes the double quotes off the line's last line, a
    // quoted text, in place: a text may be as large as memory allows.
    void UnquoteResultLine();
    // With ResultsOnly, leaves out the line's last line, before EndLine.
    void DropResultLine();
    void EndLine(bool succeeded);
    // What starts the error of a failed line on standard error with
    // ResultsOnly: the program's name, and for a script file its name and
    // the line's number.
    void SetErrorPrefix(std::string prefix) { FErrorPrefix = std::move(prefix); }
    // Hands everything gathered to the stream and flushes it. Between input
    // lines, or while the line's thread is held up outside the output (a
    // run that ends while a line hangs: its echo is written too).
    void Flush();
    // A notice for the user outside the calculation: on standard error.
    void Notice(const std::string& text);
    // Writes the lines gathered for standard output and not yet handed to
    // the stream to the descriptor with write(2), leaving the buffer as it
    // is: async-signal-safe, for a process about to end.
    void WriteGatheredNow(int descriptor) const;

private:
    static void Append(TByteBuffer& buffer, bool terminal, std::string_view text);
    void WriteOut();

    TOutputStyle FStyle;
    std::ostream& FOut;
    std::ostream& FErrors;
    bool FOutIsTerminal;
    bool FErrorsAreTerminal;
    size_t FGatherBytes;
    bool FEchoPending = false;
    TByteBuffer FBuffer;  // the lines for standard output not yet written
    std::string FHeld;     // with ResultsOnly, the last line so far
    bool FHolding = false;
    std::string FErrorPrefix;
};

}  // namespace quenmark
