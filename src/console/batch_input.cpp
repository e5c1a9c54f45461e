#include "console/batch_input.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <streambuf>
#include <string_view>

#include "base/text_lines.h"

namespace quenmark {

namespace {

// At most what the stream's buffer holds is taken at a time, so a read
// waits only when nothing at all is waiting, as reading line by line would.
constexpr std::streamsize BlockSize = 64 * 1024;

}  // namespace

// The lines end at line feeds only; a carriage return before one goes with
// the trimming. A last line without a line feed is run all the same.
bool RunStreamLines(TConsoleRun& run, std::istream& input) {
    if (!input.good()) {
        input.setstate(std::ios::failbit);
        return true;
    }
    std::streambuf& source = *input.rdbuf();
    const std::unique_ptr<char[]> block(new char[BlockSize]);
    std::string line;
    bool partial = false;  // line holds the start of a line that a block ended in
    while (source.sgetc() != std::char_traits<char>::eof()) {
        const std::streamsize count = source.sgetn(block.get(), std::clamp<std::streamsize>(source.in_avail(), 1, BlockSize));
        const char* at = block.get();
        const char* const end = at + std::max<std::streamsize>(count, 0);
        while (at < end) {
            const char* const lineEnd = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
            if (!lineEnd) {
                if (!partial) line.clear();
                line.append(at, end);
                partial = true;
                break;
            }
            if (partial) {
                line.append(at, lineEnd);
                TrimLineInPlace(line);
                partial = false;
            } else {
                AssignTrimmedLine(line, std::string_view(at, static_cast<size_t>(lineEnd - at)));
            }
            at = lineEnd + 1;
            // Answer at once when no further input is waiting, as a pipe
            // partner expects; a long piped file is written in large blocks.
            if (!RunLine(run, line, at == end && source.in_avail() <= 0)) return false;
        }
    }
    input.setstate(std::ios::eofbit | std::ios::failbit);
    if (!partial) return true;
    TrimLineInPlace(line);
    return RunLine(run, line, true);
}

bool RunTextLines(TConsoleRun& run, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        for (const std::string& line : SplitLines(text))
            if (!RunLine(run, TrimLine(line), false)) return false;
    return true;
}

}  // namespace quenmark
