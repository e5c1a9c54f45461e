#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// Lines kept by place in a few large blocks of bytes, each line replaceable:
// about the bytes of the lines and twelve more per line, where a string per
// line takes a heap block and a string object each. A replacement that
// fits overwrites the old bytes; a longer one is appended, and the bytes it
// leaves behind are reclaimed once they outweigh the lines. Blocks are made
// at their final size, never grown, so no block is copied to grow.
class TRewritableLines {
public:
    size_t Size() const { return FPlaces.size(); }
    void Add(std::string_view line);
    void Replace(size_t index, std::string_view line);
    std::string_view operator[](size_t index) const;
    void Clear();

private:
    static constexpr size_t FirstBlockSize = size_t{1} << 12;
    static constexpr size_t LargestBlockSize = size_t{1} << 20;
    struct Place {
        uint32_t Block;
        uint32_t Offset;
        uint32_t Size;
    };
    Place Append(std::string_view line);
    void Compact();

    std::vector<std::string> FBlocks;
    std::vector<Place> FPlaces;
    size_t FLiveBytes = 0;
    size_t FLeftBytes = 0;  // bytes of replaced lines still in the blocks
};

}  // namespace quenmark
