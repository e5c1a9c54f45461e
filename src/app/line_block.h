#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// Many short lines kept in a few large blocks of bytes: about the bytes
// of the lines and twelve more per line, where a vector of strings takes
// a heap block and a string object per line, and no single block has to
// grow (and be copied) to hold them all.
class TLineBlock {
public:
    void Add(std::string_view line);
    size_t Size() const { return FLines.size(); }
    bool Empty() const { return FLines.empty(); }
    std::string_view operator[](size_t index) const;
    void Clear();

private:
    static constexpr size_t BlockSize = size_t{1} << 20;
    struct Place {
        uint32_t Block;
        uint32_t Offset;
        uint32_t Size;
    };
    std::vector<std::string> FBlocks;
    std::vector<Place> FLines;
};

}  // namespace quenmark
