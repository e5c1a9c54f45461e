#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
class TConsoleOutput {
public:
    TConsoleOutput(TOutputStyle style, std::ostream& out, std::ostream& errors, bool outIsTerminal,
                   bool errorsAreTerminal);

    // A line outside any input line: the banner, the welcome text.
    void Print(const std::string& line);
    // Around the lines logged for one input line; the first is its echo.
    // With ResultsOnly the lines are held until the end, so that the error
    // text, the last of a failed line, goes to standard error.
    void BeginLine();
    void Log(const std::string& line);
    void EndLine(bool succeeded);
    // A notice for the user outside the calculation: on standard error.
    void Notice(const std::string& text);

private:
    void Write(std::ostream& stream, bool terminal, const std::string& line);

    TOutputStyle FStyle;
    std::ostream& FOut;
    std::ostream& FErrors;
    bool FOutIsTerminal;
    bool FErrorsAreTerminal;
    bool FEchoPending = false;
    std::vector<std::string> FHeld;
};

}  // namespace quenmark
