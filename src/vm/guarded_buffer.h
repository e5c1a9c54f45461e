#pragma once

#include <cstddef>
#include <memory>

namespace quenmark {

// A buffer lent to a module, with a guard area behind it. A module that
// writes past the end writes into the guard, which belongs to the same
// allocation, so nothing of the program's is overwritten; the head of the
// guard shows the overrun after the call.
class TGuardedBuffer {
public:
    static constexpr size_t GuardSize = 1024;
    // A module that writes past the end writes on from there, so the head
    // of the guard is enough to see it.
    static constexpr size_t GuardCheckSize = 64;

    explicit TGuardedBuffer(size_t size);

    char* Data() const { return FData.get(); }
    size_t Size() const { return FSize; }

    // Zeroes the buffer itself for the next call.
    void Clear() const;
    bool GuardTouched() const;
    // Cleans the guard after a call that wrote into it.
    void RestoreGuard() const;

private:
    size_t FSize;
    std::unique_ptr<char[]> FData;
};

}  // namespace quenmark
