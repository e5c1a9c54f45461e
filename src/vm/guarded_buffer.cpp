#include "vm/guarded_buffer.h"

#include <cstring>

namespace quenmark {

TGuardedBuffer::TGuardedBuffer(size_t size) : FSize(size), FData(new char[size + GuardSize]()) {}

void TGuardedBuffer::Clear() const { std::memset(FData.get(), 0, FSize); }

void TGuardedBuffer::RestoreGuard() const {
    if (GuardTouched()) std::memset(FData.get() + FSize, 0, GuardSize);
}

}  // namespace quenmark
