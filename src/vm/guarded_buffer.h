#pragma once

#include <cstddef>
#include <cstdint>
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
    // Asked after every call of a module, so the head of the guard is
    // read 16 bytes at a time, in registers.
    bool GuardTouched() const {
        using Block = uint64_t __attribute__((vector_size(16), aligned(1), may_alias));
        const auto* blocks = reinterpret_cast<const Block*>(FData.get() + FSize);
        static_assert(GuardCheckSize == 4 * sizeof(Block), "the head of the guard is four blocks");
        const Block touched = (blocks[0] | blocks[1]) | (blocks[2] | blocks[3]);
        return (touched[0] | touched[1]) != 0;
    }
    // Cleans the guard after a call that wrote into it.
    void RestoreGuard() const;

private:
    size_t FSize;
    std::unique_ptr<char[]> FData;
};

}  // namespace quenmark
