#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "base/names.h"

namespace quenmark {

// Hashes a name as SameName compares it: "a" to "z" count as capitals.
// A word at a time, each mixed in by a multiplication.
struct TNameHash {
    size_t operator()(std::string_view name) const noexcept {
        uint64_t hash = name.size();
        for (size_t at = 0; at < name.size(); at += 8) {
            hash = (hash ^ UpperNameWord(NameWord(name, at))) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        return static_cast<size_t>(hash);
    }
};

// Names found again are mostly spelt the same: equal bytes are checked in
// line before the comparison that ignores case.
struct TSameName {
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        return a.size() == b.size() && (a == b || SameName(a, b));
    }
};

// The earliest entry of each name in a table of uniquely owned entries kept
// in order (the variables, the callables), so that finding a name costs the
// same however long the table is. An entry's UpperName is its key and must
// not change while it is in the table. A name looked for is put into
// capitals first, so that the index compares plain bytes. The index is an
// open-addressed table of a power-of-two size, at most half full, probed
// linearly, with each entry's hash beside it: a lookup costs a mask instead
// of a division and reads one run of slots instead of a chain of nodes.
template <typename TEntry>
class TNameIndex {
public:
    using TItems = std::vector<std::unique_ptr<TEntry>>;

    TEntry* Find(std::string_view name) const {
        constexpr size_t ShortName = 64;
        if (name.size() > ShortName) return FindUpper(UpperCase(name));
        char upper[ShortName + 8];  // the last word may be written whole
        for (size_t at = 0; at < name.size(); at += 8) {
            const uint64_t word = UpperNameWord(NameWord(name, at));
            std::memcpy(upper + at, &word, sizeof word);
        }
        return FindUpper(std::string_view(upper, name.size()));
    }

    // After an entry was appended: an older entry of the name stays first.
    void Added(TEntry& entry) {
        const size_t hash = TNameHash()(entry.UpperName);
        size_t slot = SlotOf(entry.UpperName, hash);
        if (FSlots[slot].Entry) return;
        if (2 * (FCount + 1) > FSlots.size()) {
            Grow();
            slot = SlotOf(entry.UpperName, hash);
        }
        FSlots[slot] = {hash, &entry};
        ++FCount;
    }

    // Before an entry leaves the table, while items still holds it: the next
    // entry of the name, in table order, becomes the one found.
    void Removing(const TEntry& entry, const TItems& items) {
        const size_t slot = SlotOf(entry.UpperName, TNameHash()(entry.UpperName));
        if (FSlots[slot].Entry != &entry) return;
        for (const auto& item : items) {
            if (item.get() != &entry && item->UpperName == entry.UpperName) {
                FSlots[slot].Entry = item.get();
                return;
            }
        }
        Erase(slot);
    }

    void Clear() {
        FSlots.assign(InitialSize, Slot{});
        FCount = 0;
    }

private:
    struct Slot {
        size_t Hash = 0;
        TEntry* Entry = nullptr;  // null for a free slot
    };
    static constexpr size_t InitialSize = 16;

    size_t Mask() const { return FSlots.size() - 1; }

    // The slot of the name, or the free slot where it would go.
    size_t SlotOf(std::string_view upperName, size_t hash) const {
        size_t at = hash & Mask();
        while (FSlots[at].Entry && !(FSlots[at].Hash == hash && FSlots[at].Entry->UpperName == upperName))
            at = (at + 1) & Mask();
        return at;
    }

    TEntry* FindUpper(std::string_view upperName) const {
        return FSlots[SlotOf(upperName, TNameHash()(upperName))].Entry;
    }

    void Grow() {
        std::vector<Slot> old(FSlots.size() * 2);
        old.swap(FSlots);
        for (const Slot& slot : old) {
            if (!slot.Entry) continue;
            size_t at = slot.Hash & Mask();
            while (FSlots[at].Entry) at = (at + 1) & Mask();
            FSlots[at] = slot;
        }
    }

    // Frees a slot and moves later slots of its run back into the gap, each
    // only where a lookup from its home slot passes the gap on its way.
    void Erase(size_t gap) {
        for (size_t at = (gap + 1) & Mask(); FSlots[at].Entry; at = (at + 1) & Mask()) {
            const size_t home = FSlots[at].Hash & Mask();
            const bool passesGap = gap <= at ? (home <= gap || home > at) : (home <= gap && home > at);
            if (!passesGap) continue;
            FSlots[gap] = FSlots[at];
            gap = at;
        }
        FSlots[gap] = Slot{};
        --FCount;
    }

    std::vector<Slot> FSlots = std::vector<Slot>(InitialSize);
    size_t FCount = 0;
};

}  // namespace quenmark
