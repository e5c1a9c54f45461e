#pragma once

#include <atomic>

namespace quenmark {

// A request to abandon the line that is running: the machine checks it
// between instructions and stops with CVM040. Lock-free, so another thread
// or a signal handler may set it; whoever starts a line clears it first.
inline std::atomic<bool> lineInterruptRequest{false};

inline void RequestLineInterrupt() { lineInterruptRequest.store(true, std::memory_order_relaxed); }
inline void ClearLineInterrupt() { lineInterruptRequest.store(false, std::memory_order_relaxed); }
inline bool LineInterruptRequested() { return lineInterruptRequest.load(std::memory_order_relaxed); }

}  // namespace quenmark
