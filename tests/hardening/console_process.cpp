#include "console_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace quenmark {

namespace {

void ClosePipe(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

ConsoleProcess::ConsoleProcess(const std::string& programDirectory, const std::vector<std::string>& arguments,
                               bool captureErrors) {
    int input[2];
    int output[2];
    int errors[2] = {-1, -1};
    if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0 || (captureErrors && pipe2(errors, O_CLOEXEC) != 0))
        throw std::runtime_error("pipe failed");
    const std::string executable = programDirectory + "/quenmark-console";
    std::vector<char*> argv{const_cast<char*>(executable.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    FPid = fork();
    if (FPid < 0) throw std::runtime_error("fork failed");
    if (FPid == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        if (captureErrors) dup2(errors[1], STDERR_FILENO);
        setenv("LANG", "C", 1);
        setenv("LC_ALL", "C", 1);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    if (captureErrors) close(errors[1]);
    FInput = input[1];
    FOutputFd = output[0];
    FErrorFd = errors[0];
}

ConsoleProcess::~ConsoleProcess() {
    ClosePipe(FInput);
    ClosePipe(FOutputFd);
    ClosePipe(FErrorFd);
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
}

bool ConsoleProcess::Write(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(FInput, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

void ConsoleProcess::CloseInput() { ClosePipe(FInput); }

bool ConsoleProcess::ReadUntil(const std::string& marker, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[65536];
    while (FOutput.size() < marker.size() || FOutput.compare(FOutput.size() - marker.size(), marker.size(), marker) != 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd ready{FOutputFd, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
        const ssize_t count = read(FOutputFd, buffer, sizeof buffer);
        if (count == 0) return false;
        if (count > 0) FOutput.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

void ConsoleProcess::ReadAvailable() {
    char buffer[65536];
    pollfd ready{FOutputFd, POLLIN, 0};
    while (poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
        const ssize_t count = read(FOutputFd, buffer, sizeof buffer);
        if (count <= 0) return;
        FOutput.append(buffer, static_cast<size_t>(count));
    }
}

void ConsoleProcess::Kill(int signal) { kill(FPid, signal); }

int ConsoleProcess::Wait() {
    ClosePipe(FInput);
    // Drains the output first, so that the process never waits on a full pipe.
    char buffer[65536];
    pollfd streams[2] = {{FOutputFd, POLLIN, 0}, {FErrorFd, POLLIN, 0}};
    std::string* texts[2] = {&FOutput, &FErrorOutput};
    while (streams[0].fd >= 0 || streams[1].fd >= 0) {
        if (poll(streams, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0) continue;
            const ssize_t count = read(streams[i].fd, buffer, sizeof buffer);
            if (count > 0) texts[i]->append(buffer, static_cast<size_t>(count));
            else if (count == 0 || errno != EINTR) streams[i].fd = -1;
        }
    }
    int status = 0;
    waitpid(FPid, &status, 0);
    FPid = -1;
    ClosePipe(FOutputFd);
    ClosePipe(FErrorFd);
    return status;
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

}  // namespace quenmark
