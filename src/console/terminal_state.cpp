#include "console/terminal_state.h"

#include <termios.h>
#include <unistd.h>

#include <atomic>

namespace quenmark {

namespace {

termios originalTerminal{};
std::atomic<bool> terminalRemembered{false};

}  // namespace

void RememberTerminal() {
    if (tcgetattr(STDIN_FILENO, &originalTerminal) == 0) terminalRemembered = true;
}

void RestoreTerminal() {
    if (terminalRemembered) tcsetattr(STDIN_FILENO, TCSANOW, &originalTerminal);
}

}  // namespace quenmark
