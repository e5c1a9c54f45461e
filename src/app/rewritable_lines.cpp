#include "app/rewritable_lines.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace quenmark {

// A line goes into the last block while it fits; otherwise into a new block
// twice the size of the last, up to a limit, or of its own size when it is
// longer than that.
TRewritableLines::Place TRewritableLines::Append(std::string_view line) {
    if (line.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("line too long");
    if (FBlocks.empty() || FBlocks.back().size() + line.size() > FBlocks.back().capacity()) {
        const size_t last = FBlocks.empty() ? FirstBlockSize / 2 : FBlocks.back().capacity();
        std::string block;
        block.reserve(std::max(std::min(2 * last, LargestBlockSize), line.size()));
        FBlocks.push_back(std::move(block));
    }
    std::string& block = FBlocks.back();
    const Place place{static_cast<uint32_t>(FBlocks.size() - 1), static_cast<uint32_t>(block.size()),
                      static_cast<uint32_t>(line.size())};
    block.append(line);
    FLiveBytes += line.size();
    return place;
}

void TRewritableLines::Add(std::string_view line) {
    const Place place = Append(line);
    FPlaces.push_back(place);
}

void TRewritableLines::Replace(size_t index, std::string_view line) {
    Place& place = FPlaces[index];
    if (line.size() <= place.Size) {
        if (!line.empty()) std::memcpy(FBlocks[place.Block].data() + place.Offset, line.data(), line.size());
        FLeftBytes += place.Size - line.size();
        FLiveBytes -= place.Size - line.size();
        place.Size = static_cast<uint32_t>(line.size());
        return;
    }
    const Place added = Append(line);
    FLeftBytes += place.Size;
    FLiveBytes -= place.Size;
    place = added;
    if (FLeftBytes > FLiveBytes && FLeftBytes > LargestBlockSize) Compact();
}

std::string_view TRewritableLines::operator[](size_t index) const {
    const Place& place = FPlaces[index];
    return std::string_view(FBlocks[place.Block]).substr(place.Offset, place.Size);
}

void TRewritableLines::Clear() {
    FBlocks.clear();
    FPlaces.clear();
    FLiveBytes = 0;
    FLeftBytes = 0;
}

// The lines copied into fresh blocks in their order; the old blocks go.
void TRewritableLines::Compact() {
    TRewritableLines fresh;
    fresh.FPlaces.reserve(FPlaces.size());
    for (size_t i = 0; i < FPlaces.size(); ++i) fresh.Add((*this)[i]);
    *this = std::move(fresh);
}

}  // namespace quenmark
