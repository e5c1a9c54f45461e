#include "base/text_lines.h"

namespace quenmark {

std::vector<std::string> SplitLines(std::string_view text, EmptyText empty) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    if (lines.empty() && text.empty() && empty == EmptyText::OneEmptyLine) lines.emplace_back();
    return lines;
}

}  // namespace quenmark
