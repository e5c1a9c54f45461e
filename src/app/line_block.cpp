#include "app/line_block.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace quenmark {

void TLineBlock::Add(std::string_view line) {
    if (line.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("line too long");
    // A line goes into the last block while it fits; one longer than a
    // block gets a block of its own.
    if (FBlocks.empty() || FBlocks.back().size() + line.size() > FBlocks.back().capacity()) {
        FBlocks.emplace_back();
        FBlocks.back().reserve(std::max(BlockSize, line.size()));
    }
    std::string& block = FBlocks.back();
    FLines.push_back(Place{static_cast<uint32_t>(FBlocks.size() - 1), static_cast<uint32_t>(block.size()),
                           static_cast<uint32_t>(line.size())});
    block.append(line);
}

std::string_view TLineBlock::operator[](size_t index) const {
    const Place& place = FLines[index];
    return std::string_view(FBlocks[place.Block]).substr(place.Offset, place.Size);
}

void TLineBlock::Clear() {
    FBlocks.clear();
    FLines.clear();
}

}  // namespace quenmark
