#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace quenmark {

// The input history, oldest entry first, with its rules: a line entered
// again (letter case of "a" to "z" aside) leaves its old place and goes to
// the end, and only the newest entries up to the limit stay. Entering a
// line costs the same however long the history is: entries live in slots,
// a removed entry leaves an empty slot, and the slots are closed up once
// the empty ones outnumber the live ones twice over.
class TInputHistory {
public:
    // Replaces every entry, oldest first, as they are.
    void Assign(std::vector<std::string> entries);
    void Enter(const std::string& line, size_t limit);

    size_t Size() const { return FLiveCount; }
    // The live entries, oldest first; built again only after a change.
    const std::vector<std::string>& Entries() const;

    // The slots, for a copy that follows the history line by line (the
    // prepared save). Slot indices hold until the slots are closed up.
    size_t SlotCount() const { return FSlots.size(); }
    // The entry in a slot, or nothing for an emptied slot.
    const std::string* Slot(size_t index) const;
    // Hands over the slots emptied since the last call, or returns true
    // when the slots were renumbered or more were emptied than fit: the
    // copy must then be built again from the slots. The follower's
    // bookkeeping only: the entries do not change.
    static constexpr size_t RemovedLimit = 64;
    bool TakeRemovedSlots(std::vector<size_t>& removed) const;

private:
    struct TSlot {
        std::string Text;
        bool Live = false;
        size_t NameHash = 0;  // the key of the slot in FSlotsByName
    };

    void Remove(size_t slot);
    void RemoveOldest();
    void CloseUp();

    std::vector<TSlot> FSlots;
    size_t FFirstLive = 0;  // no live slot before it
    size_t FLiveCount = 0;
    // The live slots by the hash of their entry's name (letter case of "a"
    // to "z" aside); entries of equal hash are told apart by comparing.
    // More than one of a name only where assigned entries repeat it.
    std::unordered_multimap<size_t, size_t> FSlotsByName;

    mutable std::vector<size_t> FRemoved;
    mutable bool FRenumbered = true;

    mutable std::vector<std::string> FEntries;
    mutable bool FEntriesStale = false;
};

}  // namespace quenmark
