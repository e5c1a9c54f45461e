#pragma once

#include <cstdint>
#include <cstring>

namespace quenmark {

// Eight or four bytes of text read at once, wherever they stand, for code
// that scans or hashes text a word at a time.
inline uint64_t LoadWord64(const char* at) {
    uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

inline uint64_t LoadWord32(const char* at) {
    uint32_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

}  // namespace quenmark
