#include "console/batch_input.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string_view>

#include "base/text_lines.h"

namespace quenmark {

namespace {

// At most what the stream's buffer holds is taken at a time, so a read
// waits only when nothing at all is waiting, as reading line by line would.
constexpr std::streamsize BlockSize = 64 * 1024;

// A problem with the input itself, on standard error after the output of
// the lines before it.
void ReportInputProblem(TConsoleRun& run, const std::string& name, const std::string& problem) {
    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    run.Output.Flush();
    run.Output.Notice("quenmark-console: " + name + ": " + problem);
}

// Splits a stream into lines block by block and runs them. The lines end at
// line feeds only; a carriage return before one goes with the trimming. A
// last line without a line feed is run all the same. A line that grows past
// MaxInputLineBytes is dropped from memory and its remaining bytes are only
// counted until its end.
class TStreamLines {
public:
    TStreamLines(TConsoleRun& run, std::streambuf& source, const std::string& name, TLineSource lineSource)
        : FRun(run), FSource(source), FName(name), FSkipComments(lineSource != TLineSource::Log),
          FNameLines(lineSource == TLineSource::File), FBlock(new char[BlockSize]) {}

    TInputEnd Run();

private:
    TInputEnd TakeBlock(std::streamsize count);
    TInputEnd AddPiece(const char* at, const char* end);
    TInputEnd EndLine(bool flush);
    TInputEnd SkipLine(bool flush);
    void NameLine(size_t number);
    TInputEnd ReadFailed(const std::ios_base::failure& failure);

    TConsoleRun& FRun;
    std::streambuf& FSource;
    const std::string& FName;
    const bool FSkipComments;
    const bool FNameLines;
    size_t FLineNumber = 1;  // the number of the line being read
    const std::unique_ptr<char[]> FBlock;
    std::string FLine;
    bool FPartial = false;   // FLine holds the start of a line that a block ended in
    bool FOverlong = false;  // the current line passed the limit and is being skipped
    size_t FSkipped = 0;     // the bytes of the overlong line so far
};

TInputEnd TStreamLines::Run() {
    try {
        while (FSource.sgetc() != std::char_traits<char>::eof()) {
            const std::streamsize count =
                FSource.sgetn(FBlock.get(), std::clamp<std::streamsize>(FSource.in_avail(), 1, BlockSize));
            const TInputEnd end = TakeBlock(std::max<std::streamsize>(count, 0));
            if (end != TInputEnd::Finished) return end;
        }
    } catch (const std::ios_base::failure& failure) {
        // The file buffer throws when the system's read fails (a directory,
        // a device error), with the error number as its code.
        return ReadFailed(failure);
    }
    if (!FPartial && !FOverlong) return TInputEnd::Finished;
    return EndLine(true);
}

TInputEnd TStreamLines::TakeBlock(std::streamsize count) {
    const char* at = FBlock.get();
    const char* const end = at + count;
    while (at < end) {
        const char* const lineEnd = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        if (!lineEnd) {
            const TInputEnd added = AddPiece(at, end);
            if (added == TInputEnd::Finished && FOverlong && FSkipped > MaxInputLineBytes + MaxSkippedLineBytes) {
                ReportInputProblem(FRun, FName, FRun.Session.Context().GetText("QEN442"));
                return TInputEnd::Unreadable;
            }
            return added;
        }
        if (FPartial || FOverlong) {
            const TInputEnd added = AddPiece(at, lineEnd);
            if (added != TInputEnd::Finished) return added;
        } else {
            AssignTrimmedLine(FLine, std::string_view(at, static_cast<size_t>(lineEnd - at)));
        }
        at = lineEnd + 1;
        // Answer at once when no further input is waiting, as a pipe
        // partner expects; a long piped file is written in large blocks.
        const TInputEnd ended = EndLine(at == end && FSource.in_avail() <= 0);
        if (ended != TInputEnd::Finished) return ended;
    }
    return TInputEnd::Finished;
}

// Adds a piece of the current line. The line is refused as soon as it
// passes the limit, so that the message comes even when it never ends.
TInputEnd TStreamLines::AddPiece(const char* at, const char* end) {
    const auto size = static_cast<size_t>(end - at);
    if (!FPartial && !FOverlong) FLine.clear();
    FPartial = true;
    if (FOverlong) {
        FSkipped += size;
    } else if (FLine.size() + size > MaxInputLineBytes) {
        FOverlong = true;
        FSkipped = FLine.size() + size;
        std::string().swap(FLine);  // its memory goes back at once
        NameLine(FLineNumber);
        if (!RefuseOverlongLine(FRun)) return TInputEnd::OutputClosed;
    } else {
        FLine.append(at, end);
    }
    return TInputEnd::Finished;
}

// Runs the line gathered so far, which has ended; a refused one is only
// left behind.
TInputEnd TStreamLines::EndLine(bool flush) {
    const bool overlong = FOverlong;
    if (FPartial && !overlong) TrimLineInPlace(FLine);
    FPartial = false;
    FOverlong = false;
    FSkipped = 0;
    const size_t number = FLineNumber++;
    if (overlong) return TInputEnd::Finished;
    if (FSkipComments && IsScriptComment(FLine)) return SkipLine(flush);
    NameLine(number);
    return RunLine(FRun, FLine, flush) ? TInputEnd::Finished : TInputEnd::OutputClosed;
}

// The errors of a file's lines name the file and the line.
void TStreamLines::NameLine(size_t number) {
    if (FNameLines) FRun.Output.SetErrorPrefix(ScriptLinePrefix(FName, number));
}

// Passes over a comment line. The lines before it are written as they
// would be after a calculated line, when no further input is waiting.
TInputEnd TStreamLines::SkipLine(bool flush) {
    if (!flush) return TInputEnd::Finished;
    std::lock_guard<std::timed_mutex> lock(FRun.SessionLock);
    FRun.Output.Flush();
    return std::cout ? TInputEnd::Finished : TInputEnd::OutputClosed;
}

TInputEnd TStreamLines::ReadFailed(const std::ios_base::failure& failure) {
    const int number = failure.code().value();
    ReportInputProblem(FRun, FName, number > 0 ? std::strerror(number) : failure.what());
    return TInputEnd::Unreadable;
}

}  // namespace

TInputEnd RunStreamLines(TConsoleRun& run, std::istream& input, const std::string& name, TLineSource source) {
    if (!input.good()) {
        input.setstate(std::ios::failbit);
        return TInputEnd::Finished;
    }
    const TInputEnd end = TStreamLines(run, *input.rdbuf(), name, source).Run();
    run.Output.SetErrorPrefix(MessagePrefix);
    input.setstate(std::ios::eofbit | std::ios::failbit);
    return end;
}

bool RunTextLines(TConsoleRun& run, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        for (const std::string& line : SplitLines(text))
            if (!RunLine(run, TrimLine(line), false)) return false;
    return true;
}

bool RefuseOverlongLine(TConsoleRun& run) {
    if (run.Ending) WaitForTheEnd();
    std::lock_guard<std::timed_mutex> lock(run.SessionLock);
    run.Output.BeginLine();
    run.Output.Line(run.Session.Context().GetText("QEN440"));
    run.Output.EndLine(false);
    run.AnyLineFailed = true;
    run.Output.Flush();
    return static_cast<bool>(std::cout);
}

}  // namespace quenmark
