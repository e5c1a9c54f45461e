#include "console/console_output.h"

#include <cstdint>
#include <cstring>
#include <ostream>

#include "base/text_lines.h"
#include "console/terminal_text.h"

namespace quenmark {

namespace {

// Eight bytes at a time: a byte equal to the pattern's leaves a zero byte,
// which borrows into its high bit.
bool HasLineBreak(std::string_view text) {
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t High = 0x80 * Ones;
    const auto holds = [](uint64_t bytes, char byte) {
        const uint64_t x = bytes ^ (static_cast<uint64_t>(byte) * Ones);
        return ((x - Ones) & ~x & High) != 0;
    };
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        uint64_t bytes;
        std::memcpy(&bytes, text.data() + at, 8);
        if (holds(bytes, '\n') || holds(bytes, '\r')) return true;
    }
    for (; at < text.size(); ++at)
        if (text[at] == '\n' || text[at] == '\r') return true;
    return false;
}

}  // namespace

TConsoleOutput::TConsoleOutput(TOutputStyle style, std::ostream& out, std::ostream& errors, bool outIsTerminal,
                               bool errorsAreTerminal)
    : FStyle(style), FOut(out), FErrors(errors), FOutIsTerminal(outIsTerminal), FErrorsAreTerminal(errorsAreTerminal) {}

// Appends the text's lines, each ended by a line feed.
void TConsoleOutput::Append(std::string& buffer, bool terminal, std::string_view text) {
    if (!HasLineBreak(text)) {
        if (terminal) buffer += TerminalSafeText(text);
        else buffer += text;
        buffer += '\n';
        return;
    }
    for (const std::string& part : SplitLines(text, EmptyText::OneEmptyLine)) {
        buffer += terminal ? TerminalSafeText(part) : part;
        buffer += '\n';
    }
}

// Straight into the stream's buffer, failing as the stream's own write
// would: a stream that failed once takes nothing further.
void TConsoleOutput::WriteOut() {
    const auto size = static_cast<std::streamsize>(FBuffer.size());
    if (size > 0 && FOut.good() && FOut.rdbuf()->sputn(FBuffer.data(), size) != size)
        FOut.setstate(std::ios::badbit);
    FBuffer.clear();
}

void TConsoleOutput::Print(const std::string& line) {
    Append(FBuffer, FOutIsTerminal, line);
    WriteOut();
}

void TConsoleOutput::Notice(const std::string& text) {
    std::string lines;
    Append(lines, FErrorsAreTerminal, text);
    FErrors.write(lines.data(), static_cast<std::streamsize>(lines.size()));
}

void TConsoleOutput::BeginLine() {
    FEchoPending = FStyle != TOutputStyle::Log;
    FHolding = false;
    FBuffer.clear();
}

void TConsoleOutput::Echo(const std::string& line) {
    FEchoPending = false;
    if (FStyle != TOutputStyle::Log) return;
    // Written before the line runs, as a line that never ends leaves it.
    if (FOutIsTerminal || HasLineBreak(line)) {
        Append(FBuffer, FOutIsTerminal, "> " + line);
    } else {
        FBuffer += "> ";
        FBuffer += line;
        FBuffer += '\n';
    }
    WriteOut();
}

void TConsoleOutput::Line(const std::string& text) {
    if (FStyle != TOutputStyle::ResultsOnly) {
        Append(FBuffer, FOutIsTerminal, text);
        return;
    }
    if (FHolding) Append(FBuffer, FOutIsTerminal, FHeld);
    FHeld = text;
    FHolding = true;
}

void TConsoleOutput::Log(const std::string& line) {
    if (FEchoPending) {
        FEchoPending = false;
        return;
    }
    Line(line);
}

void TConsoleOutput::EndLine(bool succeeded) {
    if (FHolding && succeeded) Append(FBuffer, FOutIsTerminal, FHeld);
    WriteOut();
    if (FHolding && !succeeded) {
        // Results first, so that both streams on one terminal read in order.
        FOut.flush();
        Notice(FHeld);
        FErrors.flush();
    }
    FHolding = false;
}

}  // namespace quenmark
