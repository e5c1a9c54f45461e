#include "console/batch_input.h"

#include "base/text_lines.h"

namespace quenmark {

bool RunStreamLines(TConsoleRun& run, std::istream& input) {
    std::string line;
    while (std::getline(input, line)) {
        // Answer at once when no further input is waiting, as a pipe partner
        // expects; a long piped file is written in large blocks.
        TrimLineInPlace(line);
        if (!RunLine(run, line, input.rdbuf()->in_avail() <= 0)) return false;
    }
    return true;
}

bool RunTextLines(TConsoleRun& run, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        for (const std::string& line : SplitLines(text))
            if (!RunLine(run, TrimLine(line), false)) return false;
    return true;
}

}  // namespace quenmark
