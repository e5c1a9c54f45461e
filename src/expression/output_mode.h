#pragma once

#include <cstdint>
#include <string_view>

namespace quenmark {

// How results of expressions are shown: decimal, or one of the radix forms.
enum class OutputMode : uint8_t { DEC = 0, HEX = 1, OCT = 2, BIN = 3 };

constexpr OutputMode OutputModes[] = {OutputMode::DEC, OutputMode::HEX, OutputMode::OCT, OutputMode::BIN};

// The command word that selects a mode, "DEC" to "BIN"; "@" and the word
// form the command line.
const char* OutputModeWord(OutputMode mode);

}  // namespace quenmark
