#include "base/text_lines.h"

namespace quenmark {

std::vector<std::string> SplitLines(std::string_view text, EmptyText empty) {
    std::vector<std::string> lines;
    const char* const end = text.data() + text.size();
    // One pass over the bytes: find_first_of would search the set of line
    // ends once for every byte.
    for (const char* start = text.data(); start < end;) {
        const char* stop = start;
        while (stop < end && *stop != '\r' && *stop != '\n') ++stop;
        lines.emplace_back(start, stop);
        if (stop == end) break;
        start = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
    }
    if (lines.empty() && text.empty() && empty == EmptyText::OneEmptyLine) lines.emplace_back();
    return lines;
}

}  // namespace quenmark
