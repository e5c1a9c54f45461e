#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "expression/output_mode.h"

namespace quenmark {

// What an "@" command does.
enum class TCommandAction : uint8_t {
    Debug,
    ListVariables,
    ListFunctions,
    DeleteVariable,
    DeleteAllVariables,
    Protect,
    Desert,
    SetOutputMode,
    Format,
    Status,
    ListModules,
};

// One word of an "@" command: what it does, whether it takes an argument
// and the line of the "@" help that explains it. The interpreter runs the
// words of this table, completion offers them and the help lists their
// lines, so a new command is one more row here.
struct TCommandWord {
    const char* Word;  // in capitals, without the "@"
    TCommandAction Action;
    bool TakesArgument;
    const char* HelpCode;
    OutputMode Mode = OutputMode::DEC;  // for SetOutputMode
};

// Every command word, alphabetical.
std::span<const TCommandWord> CommandWords();

// The row of a word given in capitals; nullptr for an unknown word.
const TCommandWord* FindCommandWord(std::string_view upperWord);

// The help lines of the words, each once, in the order "@" shows them.
std::vector<const char*> CommandHelpCodes();

}  // namespace quenmark
