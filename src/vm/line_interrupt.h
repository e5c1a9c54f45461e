#pragma once

#include <atomic>

namespace quenmark {

// A request to abandon the line that is running. Each machine owns one and
// checks it between instructions, stopping with CVM040; whoever stops a
// line holds the one of the machine it means. Setting it is lock-free, so
// another thread or a signal handler may do it; whoever starts a line
// clears it first.
class TLineInterrupt {
public:
    static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler must be able to set the request");

    TLineInterrupt() = default;
    TLineInterrupt(const TLineInterrupt&) = delete;
    TLineInterrupt& operator=(const TLineInterrupt&) = delete;

    void Request() noexcept { FRequested.store(true, std::memory_order_relaxed); }
    void Clear() noexcept { FRequested.store(false, std::memory_order_relaxed); }
    bool Requested() const noexcept { return FRequested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> FRequested{false};
};

}  // namespace quenmark
