#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quenmark {

class TInputHistory;
class TSettings;
class TVMVariableList;

// What a line can change of the state the settings file keeps: the
// variables, the history and the output format and mode. Two marks differ
// exactly when something kept changed between them.
struct TKeptStateMark {
    uint64_t VariableChanges = 0;
    uint64_t HistoryEntries = 0;
    std::string OutputFormat;
    uint8_t OutputMode = 0;

    bool operator==(const TKeptStateMark&) const = default;
};

TKeptStateMark MarkKeptState(const TSettings& settings, const TVMVariableList& variables,
                             const TInputHistory& history);

// When a program that keeps running writes its state: after a line that
// changed something kept, at most once an interval, and never later than
// the start of the next line, so that a crash, a lost display or a hang
// loses at most the last second.
class TSaveSchedule {
public:
    using Clock = std::chrono::steady_clock;

    explicit TSaveSchedule(std::chrono::milliseconds interval = std::chrono::seconds(1)) : FInterval(interval) {}

    // A line changed something kept. Returns how long to wait before the
    // write: zero means now.
    std::chrono::milliseconds Changed(Clock::time_point now);
    // Whether a change waits for its write.
    bool Pending() const { return FPending; }
    // The state was written (or the attempt is over) at now.
    void Written(Clock::time_point now);

private:
    std::chrono::milliseconds FInterval;
    bool FPending = false;
    bool FEverWritten = false;
    Clock::time_point FLastWrite{};
};

}  // namespace quenmark
