#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/unaligned_load.h"

namespace quenmark {

// Names compare after turning "a" to "z" into capitals; every other byte,
// including letters above 127, stays as it is.
std::string UpperCase(std::string_view text);
bool SameName(std::string_view a, std::string_view b);

// Eight bytes of a name with "a" to "z" turned into capitals and every
// other byte unchanged, all at once: names are compared and hashed a word
// at a time.
constexpr uint64_t UpperNameWord(uint64_t word) {
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t High = 0x8080808080808080ull;
    const uint64_t low7 = word & ~High;
    const uint64_t fromA = low7 + (0x80 - 'a') * Ones;  // high bit set: at least "a"
    const uint64_t pastZ = low7 + (0x7F - 'z') * Ones;  // high bit set: beyond "z"
    const uint64_t lower = (fromA ^ pastZ) & ~word & High;
    return word - (lower >> 2);
}

// The eight bytes of text from at, which must be within it; fewer at the
// end, read as zero bytes. A short rest is read as two overlapping pieces.
inline uint64_t NameWord(std::string_view text, size_t at) {
    const char* bytes = text.data() + at;
    const size_t size = text.size() - at;
    uint64_t word = 0;
    if (size >= 8) {
        word = LoadWord64(bytes);
    } else if (size >= 4) {
        word = LoadWord32(bytes) | (LoadWord32(bytes + size - 4) << (8 * (size - 4)));
    } else {
        const auto byte = [bytes](size_t i) { return uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i); };
        word = byte(0) | byte(size / 2) | byte(size - 1);
    }
    return word;
}

}  // namespace quenmark
