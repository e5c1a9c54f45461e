#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

namespace quenmark {

// Waits up to 20 seconds for the child to end; one still running then is
// killed, so that a stuck child fails a test instead of hanging it.
inline bool EndedInTime(pid_t child, int& status) {
    for (int waits = 0; waits < 1000; ++waits) {
        if (waitpid(child, &status, WNOHANG) == child) return true;
        poll(nullptr, 0, 20);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

}  // namespace quenmark
