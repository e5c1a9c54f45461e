#include "app/input_history.h"

#include <algorithm>
#include <cstring>

#include "base/names.h"
#include "vm/name_index.h"

namespace quenmark {

namespace {

constexpr size_t SmallestIndex = 16;

// The hash that SameName agrees with: equal names hash alike.
size_t LineHash(std::string_view line) {
    const size_t hash = TNameHash()(line);
    return hash ^ (hash >> 32);  // the index takes the low bits
}

}  // namespace

void TInputHistory::Assign(std::vector<std::string> entries) {
    FSlots.clear();
    FTexts.clear();
    FCells.clear();
    FIndexed = 0;
    FFirstLive = 0;
    FLiveCount = 0;
    for (const std::string& entry : entries) Append(entry, LineHash(entry), 0);
    FEntriesStale = true;
}

void TInputHistory::Enter(std::string_view line, size_t limit) {
    // A view of an entry here would not survive the texts growing.
    std::string copy;
    if (!FTexts.empty() && line.data() >= FTexts.data() && line.data() < FTexts.data() + FTexts.size()) {
        copy.assign(line);
        line = copy;
    }
    const size_t hash = LineHash(line);
    if (!FCells.empty()) {
        for (size_t cell = CellOf(hash); FCells[cell].Slot != NoSlot;) {
            const TCell& found = FCells[cell];
            if (found.NameHash == hash && SameName(Text(FSlots[found.Slot]), line)) {
                Remove(found.Slot);
                Unindex(cell);  // a later cell may have moved here: look at it again
            } else {
                cell = (cell + 1) & (FCells.size() - 1);
            }
        }
    }
    Append(line, hash, ++FEnteredCount);
    while (FLiveCount > limit) RemoveOldest();
    if (FSlots.size() - FLiveCount > 2 * FLiveCount + EmptySlotsAllowed) CloseUp();
    FEntriesStale = true;
}

const std::vector<std::string>& TInputHistory::Entries() const {
    if (FEntriesStale) {
        FEntries.clear();
        FEntries.reserve(FLiveCount);
        ForEach([this](std::string_view text) { FEntries.emplace_back(text); });
        FEntriesStale = false;
    }
    return FEntries;
}

std::vector<std::string> TInputHistory::EnteredSince(uint64_t mark) const {
    std::vector<std::string> entries;
    for (size_t i = FFirstLive; i < FSlots.size(); ++i)
        if (FSlots[i].Live && FSlots[i].Entered > mark) entries.emplace_back(Text(FSlots[i]));
    return entries;
}

void TInputHistory::Append(std::string_view text, size_t hash, uint64_t entered) {
    if ((FIndexed + 1) * 2 > FCells.size()) GrowIndex();
    FSlots.push_back({FTexts.size(), text.size(), hash, entered, true});
    try {
        FTexts.append(text);
    } catch (...) {
        FSlots.pop_back();
        throw;
    }
    Index(hash, FSlots.size() - 1);
    ++FLiveCount;
}

// Empties a slot; its text stays in place until the next close-up, and the
// caller takes it out of the index.
void TInputHistory::Remove(size_t slot) {
    FSlots[slot].Live = false;
    --FLiveCount;
}

void TInputHistory::RemoveOldest() {
    while (!FSlots[FFirstLive].Live) ++FFirstLive;
    size_t cell = CellOf(FSlots[FFirstLive].NameHash);
    while (FCells[cell].Slot != FFirstLive) cell = (cell + 1) & (FCells.size() - 1);
    Unindex(cell);
    Remove(FFirstLive);
}

// Moves the live slots and their texts together, in order, and renumbers
// the index in place, without hashing the names again.
void TInputHistory::CloseUp() {
    FNewSlot.resize(FSlots.size());  // read for live slots only
    size_t count = 0;
    size_t at = 0;
    for (size_t i = FFirstLive; i < FSlots.size(); ++i) {
        TSlot slot = FSlots[i];
        if (!slot.Live) continue;
        // Texts only move towards the front.
        if (slot.At != at) std::memmove(FTexts.data() + at, FTexts.data() + slot.At, slot.Length);
        slot.At = at;
        at += slot.Length;
        FNewSlot[i] = count;
        FSlots[count++] = slot;
    }
    FSlots.resize(count);
    FTexts.resize(at);
    for (TCell& cell : FCells)
        if (cell.Slot != NoSlot) cell.Slot = FNewSlot[cell.Slot];
    FFirstLive = 0;
}

void TInputHistory::Index(size_t hash, size_t slot) {
    size_t cell = CellOf(hash);
    while (FCells[cell].Slot != NoSlot) cell = (cell + 1) & (FCells.size() - 1);
    FCells[cell] = {hash, slot};
    ++FIndexed;
}

// Empties a cell and moves later cells of the same probe run back into the
// gap, so that no search stops early at it.
void TInputHistory::Unindex(size_t cell) {
    const size_t mask = FCells.size() - 1;
    size_t hole = cell;
    for (size_t next = (hole + 1) & mask; FCells[next].Slot != NoSlot; next = (next + 1) & mask) {
        const size_t home = CellOf(FCells[next].NameHash);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            FCells[hole] = FCells[next];
            hole = next;
        }
    }
    FCells[hole] = TCell{};
    --FIndexed;
}

void TInputHistory::GrowIndex() {
    std::vector<TCell> old(std::max(SmallestIndex, FCells.size() * 2));
    old.swap(FCells);
    FIndexed = 0;
    for (const TCell& cell : old)
        if (cell.Slot != NoSlot) Index(cell.NameHash, cell.Slot);
}

}  // namespace quenmark
