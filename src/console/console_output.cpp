#include "console/console_output.h"

#include <ostream>

#include "base/text_lines.h"
#include "console/terminal_text.h"

namespace quenmark {

TConsoleOutput::TConsoleOutput(TOutputStyle style, std::ostream& out, std::ostream& errors, bool outIsTerminal,
                               bool errorsAreTerminal)
    : FStyle(style), FOut(out), FErrors(errors), FOutIsTerminal(outIsTerminal), FErrorsAreTerminal(errorsAreTerminal) {}

void TConsoleOutput::Write(std::ostream& stream, bool terminal, const std::string& line) {
    if (line.find_first_of("\r\n") == std::string::npos) {
        stream << (terminal ? TerminalSafeText(line) : line) << '\n';
        return;
    }
    for (const std::string& part : SplitLines(line, EmptyText::OneEmptyLine))
        stream << (terminal ? TerminalSafeText(part) : part) << '\n';
}

void TConsoleOutput::Print(const std::string& line) { Write(FOut, FOutIsTerminal, line); }

void TConsoleOutput::Notice(const std::string& text) { Write(FErrors, FErrorsAreTerminal, text); }

void TConsoleOutput::BeginLine() {
    FEchoPending = FStyle != TOutputStyle::Log;
    FHeld.clear();
}

void TConsoleOutput::Log(const std::string& line) {
    if (FEchoPending) {
        FEchoPending = false;
        return;
    }
    if (FStyle == TOutputStyle::ResultsOnly) FHeld.push_back(line);
    else Print(line);
}

void TConsoleOutput::EndLine(bool succeeded) {
    if (FStyle != TOutputStyle::ResultsOnly) return;
    const size_t results = FHeld.size() - (succeeded || FHeld.empty() ? 0 : 1);
    for (size_t i = 0; i < results; ++i) Print(FHeld[i]);
    if (results < FHeld.size()) {
        // Results first, so that both streams on one terminal read in order.
        FOut.flush();
        Notice(FHeld.back());
        FErrors.flush();
    }
    FHeld.clear();
}

}  // namespace quenmark
