#include "console/script_lines.h"

namespace quenmark {

std::string ScriptLinePrefix(const std::string& fileName, size_t number) {
    return MessagePrefix + fileName + ":" + std::to_string(number) + ": ";
}

bool IsScriptComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

}  // namespace quenmark
