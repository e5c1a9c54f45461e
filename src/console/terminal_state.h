#pragma once

namespace quenmark {

// The terminal's settings as the run found them, put back when it ends,
// whichever way. Both are async-signal-safe.
void RememberTerminal();
void RestoreTerminal();

}  // namespace quenmark
