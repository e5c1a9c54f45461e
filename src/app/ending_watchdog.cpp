#include "app/ending_watchdog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <thread>

#include "app/rescued_settings.h"

namespace quenmark {

namespace {

// The pipe that wakes the watchdog: one byte per signal.
std::atomic<int> wakeFd{-1};
int readFd = -1;

}  // namespace

TEndingWatchdog::TEndingWatchdog(const TCCContext& context, TLineInterrupt& interrupt, TPreparedSave& prepared,
                                 std::string programName, std::chrono::milliseconds grace)
    : FContext(context), FInterrupt(interrupt), FPrepared(prepared), FProgramName(std::move(programName)), FGrace(grace) {}

bool TEndingWatchdog::Start() {
    if (wakeFd.load() >= 0) return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    readFd = fds[0];
    try {
        std::thread([this]() { Watch(); }).detach();
    } catch (const std::system_error&) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    wakeFd.store(fds[1]);
    return true;
}

void TEndingWatchdog::Wake(int signal) {
    const int fd = wakeFd.load();
    if (fd < 0) return;
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    errno = savedErrno;
}

void TEndingWatchdog::Watch() {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t count = read(readFd, &byte, 1);
        if (count == 1) EndWith(byte);
        else if (count < 0 && errno == EINTR) continue;
        else WaitForTheEnd();
    }
}

// A line that runs machine code stops at its next instruction; one inside a
// module call may never come back.
void TEndingWatchdog::EndWith(int signal) {
    FInterrupt.Request();
    const auto deadline = std::chrono::steady_clock::now() + FGrace;
    while (!FEnded.load() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (FEnded.load()) {
        // Saved: the program only has to go, which it may fail to do while
        // its thread is held.
        std::this_thread::sleep_for(FGrace / 2);
        _exit(128 + signal);
    }
    WritePrepared();
    std::cerr.flush();
    _exit(128 + signal);
}

void TEndingWatchdog::WritePrepared() {
    // A crash handler that claimed the write first ends the process itself.
    if (!FPrepared.ClaimWrite()) WaitForTheEnd();
    FPrepared.WaitForChange();
    WritePreparedOrRescue(FContext, FPrepared, FProgramName);
}

}  // namespace quenmark
