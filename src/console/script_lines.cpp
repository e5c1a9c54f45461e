#include "console/script_lines.h"

namespace quenmark {

bool IsScriptComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

}  // namespace quenmark
