#include "expression/output_mode.h"

namespace quenmark {

// A switch without a default: a missing case fails the build, whatever
// the build's warning options.
#pragma GCC diagnostic error "-Wswitch"
const char* OutputModeWord(OutputMode mode) {
    switch (mode) {
    case OutputMode::DEC: return "DEC";
    case OutputMode::HEX: return "HEX";
    case OutputMode::OCT: return "OCT";
    case OutputMode::BIN: return "BIN";
    }
    return "";
}

}  // namespace quenmark
