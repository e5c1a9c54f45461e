#pragma once

#include <string>

namespace quenmark {

// Where a session's log lines go when a front end takes them directly
// instead of through a callback: the echo of each input line, then its
// output lines, in order.
class TLineLog {
public:
    // The input line about to run; the log shows it as "> " and the line.
    virtual void Echo(const std::string& line) = 0;
    // One line of the input line's output.
    virtual void Line(const std::string& text) = 0;

protected:
    ~TLineLog() = default;
};

}  // namespace quenmark
