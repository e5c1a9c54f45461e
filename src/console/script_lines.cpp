#include "console/script_lines.h"

#include <cctype>

#include "expression/command_words.h"

namespace quenmark {

std::string ScriptLinePrefix(const std::string& fileName, size_t number) {
    return MessagePrefix + fileName + ":" + std::to_string(number) + ": ";
}

bool IsScriptComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

bool IsConfirmingCommand(std::string_view line) {
    const size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos || line[at] != '@') return false;
    size_t begin = line.find_first_not_of(" \t", at + 1);
    if (begin == std::string_view::npos) return false;
    std::string word;
    for (; begin < line.size() && std::isalnum(static_cast<unsigned char>(line[begin])); ++begin)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(line[begin])));
    const TCommandWord* command = FindCommandWord(word);
    if (!command) return false;
    switch (command->Action) {
    case TCommandAction::SetOutputMode:
    case TCommandAction::Format:
    case TCommandAction::DeleteVariable:
    case TCommandAction::DeleteAllVariables:
    case TCommandAction::Protect:
    case TCommandAction::Desert:
    case TCommandAction::Debug: return true;
    case TCommandAction::ListVariables:
    case TCommandAction::ListFunctions:
    case TCommandAction::Status:
    case TCommandAction::ListModules: return false;
    }
    return false;
}

}  // namespace quenmark
