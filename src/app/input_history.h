#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_buffer.h"

namespace quenmark {

// The input history, oldest entry first, with its rules: a line entered
// again (letter case of "a" to "z" aside) leaves its old place and goes to
// the end, and only the newest entries up to the limit stay. Entering a
// line costs the same however long the history is and, once the history
// has reached its size and closed up once, allocates nothing: the texts
// live one after another in one buffer, a removed entry leaves an empty
// slot, which keeps its cell in the index, and the slots are closed up and
// indexed afresh once the empty ones outnumber the live ones twice over.
// Each entry remembers when it was entered, so the entries added since a
// save are read from here rather than kept a second time.
class TInputHistory {
public:
    // Replaces every entry, oldest first, as they are; none counts as
    // entered.
    void Assign(std::vector<std::string> entries);
    // Enters a line by the rules above. A line longer than MaxEntryBytes is
    // not entered and changes nothing: recalling it would be of no use, and
    // every save would write it again.
    void Enter(std::string_view line, size_t limit);
    static constexpr size_t MaxEntryBytes = 64 * 1024;

    size_t Size() const { return FLiveCount; }
    // The live entries, oldest first; built again only after a change.
    const std::vector<std::string>& Entries() const;

    // Calls visit(std::string_view) for every live entry, oldest first,
    // without allocating: async-signal-safe while nothing changes the
    // history.
    template <typename TVisit>
    void ForEach(TVisit&& visit) const {
        for (size_t i = FFirstLive; i < FSlots.size(); ++i)
            if (FSlots[i].Live) visit(Text(FSlots[i]));
    }

    // The slots, live and emptied: at most twice the live ones and
    // EmptySlotsAllowed more, beside the one just entered.
    static constexpr size_t EmptySlotsAllowed = 64;
    size_t SlotCount() const { return FSlots.size(); }

    // How many lines were entered so far; a mark for EnteredSince.
    uint64_t EnteredCount() const { return FEnteredCount; }
    // The live entries entered after the mark was taken, oldest first.
    std::vector<std::string> EnteredSince(uint64_t mark) const;

private:
    struct TSlot {
        size_t At = 0;  // the text in FTexts
        size_t Length = 0;
        size_t NameHash = 0;
        uint64_t Entered = 0;  // 1 + EnteredCount before it was entered; 0 for an assigned entry
        bool Live = false;
    };
    // A cell of the index: a slot, live or emptied, by its entry's hash.
    struct TCell {
        size_t NameHash = 0;
        size_t Slot = NoSlot;
    };
    static constexpr size_t NoSlot = SIZE_MAX;

    std::string_view Text(const TSlot& slot) const { return {FTexts.Data() + slot.At, slot.Length}; }
    void Append(std::string_view text, size_t hash, uint64_t entered, size_t cell);
    void Remove(size_t slot);
    void RemoveOldest();
    void CloseUp();

    size_t CellOf(size_t hash) const { return hash & (FCells.size() - 1); }
    size_t FreeCell(size_t hash) const;
    void Reindex(size_t size);
    void GrowIndex();

    std::vector<TSlot> FSlots;
    TByteBuffer FTexts;     // the slots' texts, in slot order; emptied ones stay until a close-up
    size_t FFirstLive = 0;  // no live slot before it
    size_t FLiveCount = 0;
    uint64_t FEnteredCount = 0;
    // The slots by the hash of their entry's name (letter case of "a" to
    // "z" aside), open addressing with linear probing: every live slot, and
    // emptied ones until the next close-up, which the search passes over.
    // Entries of equal hash are told apart by comparing. More than one live
    // entry of a name only where assigned entries repeat it. A power of two
    // in size, at most half full.
    std::vector<TCell> FCells;
    size_t FUsedCells = 0;

    mutable std::vector<std::string> FEntries;
    mutable bool FEntriesStale = false;
};

}  // namespace quenmark
