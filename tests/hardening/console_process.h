#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace quenmark {

// The terminal front end started from a program directory with pipes on
// its standard input and output, in the C locale, with the given arguments;
// its standard error goes to a pipe too when captured. The process is
// killed and reaped when the object goes without a Wait.
class ConsoleProcess {
public:
    explicit ConsoleProcess(const std::string& programDirectory, const std::vector<std::string>& arguments = {},
                            bool captureErrors = false);
    ~ConsoleProcess();
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;

    pid_t Pid() const { return FPid; }

    // Writes all of the text to the standard input; false when the process
    // no longer reads.
    bool Write(const std::string& text);
    // Closes the standard input: the end of the input.
    void CloseInput();
    // Reads output until it ends with marker; false at the end of the output
    // or when the timeout passes first. Everything read is kept in Output().
    bool ReadUntil(const std::string& marker, std::chrono::milliseconds timeout);
    // Reads whatever output is waiting, without blocking.
    void ReadAvailable();
    const std::string& Output() const { return FOutput; }
    // The standard error read by Wait, when captured.
    const std::string& ErrorOutput() const { return FErrorOutput; }
    // Forgets the output read so far.
    void ClearOutput() { FOutput.clear(); }

    void Kill(int signal);
    // Waits for the end of the process; returns its wait status.
    int Wait();

private:
    pid_t FPid = -1;
    int FInput = -1;
    int FOutputFd = -1;
    int FErrorFd = -1;
    std::string FOutput;
    std::string FErrorOutput;
};

// The resident memory of a process in kibibytes, from /proc/PID/status
// (VmRSS); 0 when it cannot be read.
long ResidentKiB(pid_t pid);

}  // namespace quenmark
