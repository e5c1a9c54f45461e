#pragma once

#include <string>

#include "console/line_editor_library.h"

namespace quenmark {

class TCCInterpreter;
class TLineSession;

// Loads the line editor's library from the program directory, once; null
// when it cannot be loaded, with the reason in problem.
const QuenmarkLineEditor* LoadLineEditor(std::string& problem);

// Teaches the terminal's line editor the calculator's names and results:
// Tab completes the variable, function, constant or "@" command whose name
// starts with the typed text (never file names), and Alt+. (Escape and
// ".") inserts the session's last result at the cursor, each further press
// right after replacing it with the result before. Call once, before the
// first line is read; the editor, the session and the interpreter must
// outlive the editor's use.
void InstallLineEditor(const QuenmarkLineEditor& editor, TLineSession& session, TCCInterpreter& interpreter);

}  // namespace quenmark
