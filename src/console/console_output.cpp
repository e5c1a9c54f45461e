#include "console/console_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ostream>

#include "base/text_lines.h"
#include "console/terminal_text.h"
#include "base/unaligned_load.h"

namespace quenmark {

namespace {

// The high bit of each byte below 0x0E, the least of which are line
// breaks: a smaller byte borrows into its high bit, and a byte of 128 or
// more is left out by ~bytes. Exact as a whole: not zero when such a byte
// is there.
uint64_t BytesBelow0E(uint64_t bytes) {
    constexpr uint64_t Ones = 0x0101010101010101ull;
    return (bytes - 0x0E * Ones) & ~bytes & (0x80 * Ones);
}

// Text rarely holds a byte below 0x0E: eight bytes are looked at a time
// (the last eight overlapping the ones before, a shorter text in two
// overlapping halves), and the bytes are searched only when such a byte is
// there.
inline bool HasLineBreak(std::string_view text) {
    const char* const data = text.data();
    const size_t size = text.size();
    uint64_t low = 1;
    if (size >= 8) {
        low = BytesBelow0E(LoadWord64(data + size - 8));
        for (size_t at = 0; at + 8 < size; at += 8) low |= BytesBelow0E(LoadWord64(data + at));
    } else if (size >= 4) {
        low = BytesBelow0E(LoadWord32(data) | LoadWord32(data + size - 4) << 32);
    }
    return low != 0 && (std::memchr(data, '\n', size) || std::memchr(data, '\r', size));
}

}  // namespace

TConsoleOutput::TConsoleOutput(TOutputStyle style, std::ostream& out, std::ostream& errors, bool outIsTerminal,
                               bool errorsAreTerminal, size_t gatherBytes)
    : FStyle(style), FOut(out), FErrors(errors), FOutIsTerminal(outIsTerminal), FErrorsAreTerminal(errorsAreTerminal),
      FGatherBytes(gatherBytes) {}

// Appends the text's lines, each ended by a line feed.
void TConsoleOutput::Append(TByteBuffer& buffer, bool terminal, std::string_view text) {
    if (!HasLineBreak(text)) {
        if (terminal) buffer.Put(TerminalSafeText(text));
        else buffer.Put(text);
        buffer.Put('\n');
        return;
    }
    for (const std::string& part : SplitLines(text, EmptyText::OneEmptyLine)) {
        buffer.Put(terminal ? TerminalSafeText(part) : part);
        buffer.Put('\n');
    }
}

// Straight into the stream's buffer, failing as the stream's own write
// would: a stream that failed once takes nothing further.
void TConsoleOutput::WriteOut() {
    const auto size = static_cast<std::streamsize>(FBuffer.Size());
    if (size > 0 && FOut.good() && FOut.rdbuf()->sputn(FBuffer.Data(), size) != size)
        FOut.setstate(std::ios::badbit);
    FBuffer.Clear();
}

void TConsoleOutput::Flush() {
    WriteOut();
    FOut.flush();
}

void TConsoleOutput::Print(const std::string& line) {
    Append(FBuffer, FOutIsTerminal, line);
    WriteOut();
}

void TConsoleOutput::Notice(const std::string& text) {
    TByteBuffer lines;
    Append(lines, FErrorsAreTerminal, text);
    FErrors.write(lines.Data(), static_cast<std::streamsize>(lines.Size()));
}

void TConsoleOutput::WriteGatheredNow(int descriptor) const {
    const char* bytes = FBuffer.Data();
    for (size_t left = FBuffer.Size(); left > 0;) {
        const ssize_t written = write(descriptor, bytes, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes += written;
        left -= static_cast<size_t>(written);
    }
}

void TConsoleOutput::BeginLine() {
    FEchoPending = FStyle != TOutputStyle::Log;
    FHolding = false;
}

void TConsoleOutput::Echo(const std::string& line) {
    FEchoPending = false;
    if (FStyle != TOutputStyle::Log) return;
    // Gathered with the line's output; Flush writes it for a line that
    // never ends.
    if (FOutIsTerminal || HasLineBreak(line)) {
        Append(FBuffer, FOutIsTerminal, "> " + line);
    } else {
        FBuffer.Put("> ");
        FBuffer.Put(line);
        FBuffer.Put('\n');
    }
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

void TConsoleOutput::ReplaceResultLine(std::string text) {
    if (FStyle != TOutputStyle::ResultsOnly) return;
    FHeld = std::move(text);
    FHolding = true;
}

void TConsoleOutput::UnquoteResultLine() {
    if (FStyle != TOutputStyle::ResultsOnly || !FHolding) return;
    if (FHeld.size() < 2 || FHeld.front() != '"' || FHeld.back() != '"') return;
    FHeld.pop_back();
    FHeld.erase(0, 1);
}

void TConsoleOutput::DropResultLine() {
    if (FStyle == TOutputStyle::ResultsOnly) FHolding = false;
}

void TConsoleOutput::EndLine(bool succeeded) {
    if (FHolding && succeeded) Append(FBuffer, FOutIsTerminal, FHeld);
    if (FHolding && !succeeded) {
        // Results first, so that both streams on one terminal read in order.
        Flush();
        Notice(FErrorPrefix + FHeld);
        FErrors.flush();
    } else if (FBuffer.Size() >= FGatherBytes) {
        WriteOut();
    }
    FHolding = false;
}

}  // namespace quenmark
