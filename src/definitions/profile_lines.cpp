#include "definitions/profile_lines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace quenmark {

TProfileLineReader::TProfileLineReader(int fd, off_t start, off_t end)
    : FFd(fd), FReadAt(start), FEnd(end), FLineStart(start) {
    if (start != 0) return;
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    if (!Fill() || FSize < mark.size()) return;
    // Every mark at the start, as WithoutByteOrderMark drops them.
    while (FSize - FUsed >= mark.size() && std::string_view(FBuffer + FUsed, mark.size()) == mark) FUsed += mark.size();
    FLineStart = static_cast<off_t>(FUsed);
}

// Refills the buffer once it is used up; false when no byte is left.
bool TProfileLineReader::Fill() {
    if (FUsed < FSize) return true;
    FUsed = FSize = 0;
    if (FAtEnd || FFailed) return false;
    size_t want = sizeof FBuffer;
    if (FEnd >= 0) {
        if (FReadAt >= FEnd) return !(FAtEnd = true);
        want = std::min(want, static_cast<size_t>(FEnd - FReadAt));
    }
    for (;;) {
        const ssize_t count = pread(FFd, FBuffer, want, FReadAt);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) FFailed = true;
        if (count <= 0) {
            FAtEnd = true;
            return false;
        }
        FSize = static_cast<size_t>(count);
        FReadAt += count;
        return true;
    }
}

bool TProfileLineReader::Next(std::string& line) {
    line.clear();
    if (!Fill()) return false;
    for (;;) {
        const char* const begin = FBuffer + FUsed;
        const char* const end = FBuffer + FSize;
        const char* stop = begin;
        while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
        line.append(begin, stop);
        FUsed = static_cast<size_t>(stop - FBuffer);
        if (stop == end) {
            if (!Fill()) break;  // the last line, without a line end
            continue;
        }
        const bool carriageReturn = *stop == '\r';
        ++FUsed;
        // A CR LF may be split between two reads.
        if (carriageReturn && Fill() && FBuffer[FUsed] == '\n') ++FUsed;
        break;
    }
    FLineStart = FReadAt - static_cast<off_t>(FSize - FUsed);
    return !FFailed;
}

}  // namespace quenmark
