#pragma once

#include <string>
#include <string_view>

namespace quenmark {

// The text with its control bytes made visible, for writing to a terminal:
// ESC as "^[", the other C0 bytes as "^@" to "^_", DEL as "^?", and a C1
// control in UTF-8 (C2 80 to C2 9F) as the ESC sequence it stands for
// ("^[[" for CSI). A tab stays, as the debug listing indents with it. So a
// result or an echoed line cannot move the cursor, retitle or recolour
// the terminal. Everything else, UTF-8 included, is kept as it is.
std::string TerminalSafeText(std::string_view text);

}  // namespace quenmark
