#include "app/input_history.h"

#include "base/names.h"
#include "vm/name_index.h"

namespace quenmark {

void TInputHistory::Assign(std::vector<std::string> entries) {
    FSlots.clear();
    FSlotsByName.clear();
    for (std::string& entry : entries) {
        const size_t hash = TNameHash()(entry);
        FSlotsByName.emplace(hash, FSlots.size());
        FSlots.push_back({std::move(entry), true, hash});
    }
    FFirstLive = 0;
    FLiveCount = FSlots.size();
    FRemoved.clear();
    FRenumbered = true;
    FEntriesStale = true;
}

void TInputHistory::Enter(const std::string& line, size_t limit) {
    const size_t hash = TNameHash()(line);
    auto [it, last] = FSlotsByName.equal_range(hash);
    while (it != last) {
        if (SameName(FSlots[it->second].Text, line)) {
            Remove(it->second);
            it = FSlotsByName.erase(it);
        } else {
            ++it;
        }
    }
    FSlotsByName.emplace(hash, FSlots.size());
    FSlots.push_back({line, true, hash});
    ++FLiveCount;
    while (FLiveCount > limit) RemoveOldest();
    if (FSlots.size() - FLiveCount > 2 * FLiveCount + RemovedLimit) CloseUp();
    FEntriesStale = true;
}

const std::string* TInputHistory::Slot(size_t index) const {
    return FSlots[index].Live ? &FSlots[index].Text : nullptr;
}

bool TInputHistory::TakeRemovedSlots(std::vector<size_t>& removed) const {
    removed.swap(FRemoved);
    FRemoved.clear();
    const bool renumbered = FRenumbered;
    FRenumbered = false;
    return renumbered;
}

const std::vector<std::string>& TInputHistory::Entries() const {
    if (FEntriesStale) {
        FEntries.clear();
        for (size_t i = FFirstLive; i < FSlots.size(); ++i)
            if (FSlots[i].Live) FEntries.push_back(FSlots[i].Text);
        FEntriesStale = false;
    }
    return FEntries;
}

// Empties a slot; its name is taken out of the index by the caller.
void TInputHistory::Remove(size_t slot) {
    FSlots[slot].Live = false;
    FSlots[slot].Text = std::string();
    --FLiveCount;
    if (FRenumbered) return;
    if (FRemoved.size() == RemovedLimit) {
        FRenumbered = true;
        FRemoved.clear();
        return;
    }
    FRemoved.push_back(slot);
}

void TInputHistory::RemoveOldest() {
    while (!FSlots[FFirstLive].Live) ++FFirstLive;
    const auto [first, last] = FSlotsByName.equal_range(FSlots[FFirstLive].NameHash);
    for (auto it = first; it != last; ++it) {
        if (it->second == FFirstLive) {
            FSlotsByName.erase(it);
            break;
        }
    }
    Remove(FFirstLive);
}

// Moves the live slots together and renumbers the index in place, without
// hashing the names again.
void TInputHistory::CloseUp() {
    std::vector<size_t> newSlot(FSlots.size());
    size_t count = 0;
    for (size_t i = FFirstLive; i < FSlots.size(); ++i) {
        if (!FSlots[i].Live) continue;
        newSlot[i] = count;
        if (count != i) FSlots[count] = std::move(FSlots[i]);
        ++count;
    }
    FSlots.resize(count);
    for (auto& entry : FSlotsByName) entry.second = newSlot[entry.second];
    FFirstLive = 0;
    FRemoved.clear();
    FRenumbered = true;
}

}  // namespace quenmark
