#pragma once

#include <vector>

#include "vm/variant.h"

namespace quenmark {

// A fixed number of value slots, each Integer 0 after Clear.
class TVMMemory {
public:
    explicit TVMMemory(size_t size) : FSlots(size, Variant(int32_t{0})) {}

    size_t Size() const { return FSlots.size(); }
    const Variant& Get(size_t index) const { return FSlots[index]; }
    void Put(size_t index, const Variant& value) { FSlots[index] = value; }
    void Put(size_t index, Variant&& value) { FSlots[index] = std::move(value); }
    void Clear() {
        for (Variant& slot : FSlots) slot = Variant(int32_t{0});
    }

private:
    std::vector<Variant> FSlots;
};

}  // namespace quenmark
