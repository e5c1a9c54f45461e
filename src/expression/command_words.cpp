#include "expression/command_words.h"

#include <algorithm>
#include <cstring>

namespace quenmark {

namespace {

constexpr TCommandWord Words[] = {
    {"BIN", TCommandAction::SetOutputMode, false, "INT104", OutputMode::BIN},
    {"DEBUG", TCommandAction::Debug, false, "INT106"},
    {"DEC", TCommandAction::SetOutputMode, false, "INT104", OutputMode::DEC},
    {"DELVAR", TCommandAction::DeleteVariable, true, "INT102"},
    {"DELVARALL", TCommandAction::DeleteAllVariables, false, "INT102"},
    {"DESERT", TCommandAction::Desert, true, "INT103"},
    {"FNC", TCommandAction::ListFunctions, false, "INT101"},
    {"FORMAT", TCommandAction::Format, true, "INT105"},
    {"FUNCTIONS", TCommandAction::ListFunctions, false, "INT101"},
    {"HEX", TCommandAction::SetOutputMode, false, "INT104", OutputMode::HEX},
    {"MOD", TCommandAction::ListModules, false, "INT101"},
    {"MODULES", TCommandAction::ListModules, false, "INT101"},
    {"OCT", TCommandAction::SetOutputMode, false, "INT104", OutputMode::OCT},
    {"PROTECT", TCommandAction::Protect, true, "INT103"},
    {"STAT", TCommandAction::Status, false, "INT101"},
    {"STATUS", TCommandAction::Status, false, "INT101"},
    {"VAR", TCommandAction::ListVariables, false, "INT101"},
    {"VARIABLES", TCommandAction::ListVariables, false, "INT101"},
};

}  // namespace

std::span<const TCommandWord> CommandWords() { return Words; }

const TCommandWord* FindCommandWord(std::string_view upperWord) {
    for (const TCommandWord& word : Words)
        if (upperWord == word.Word) return &word;
    return nullptr;
}

// The help codes sort as the help shows them: INT101 first.
std::vector<const char*> CommandHelpCodes() {
    std::vector<const char*> codes;
    for (const TCommandWord& word : Words) codes.push_back(word.HelpCode);
    const auto before = [](const char* a, const char* b) { return std::strcmp(a, b) < 0; };
    const auto same = [](const char* a, const char* b) { return std::strcmp(a, b) == 0; };
    std::sort(codes.begin(), codes.end(), before);
    codes.erase(std::unique(codes.begin(), codes.end(), same), codes.end());
    return codes;
}

}  // namespace quenmark
