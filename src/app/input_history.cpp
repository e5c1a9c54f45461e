#include "app/input_history.h"

#include <algorithm>
#include <cstring>

#include "base/names.h"
#include "vm/name_index.h"

namespace quenmark {

namespace {

constexpr size_t SmallestIndex = 16;

// The hash that SameName agrees with: equal names hash alike. Its high
// half is folded in, as the index takes the low bits.
size_t LineHash(std::string_view line) {
    const size_t hash = TNameHash()(line);
    return hash ^ (hash >> 32);
}

}  // namespace

void TInputHistory::Assign(std::vector<std::string> entries) {
    FSlots.clear();
    FTexts.Clear();
    FCells.clear();
    FUsedCells = 0;
    FFirstLive = 0;
    FLiveCount = 0;
    for (const std::string& entry : entries) {
        if ((FUsedCells + 1) * 2 > FCells.size()) GrowIndex();
        const size_t hash = LineHash(entry);
        Append(entry, hash, 0, FreeCell(hash));
    }
    FEntriesStale = true;
}

void TInputHistory::Enter(std::string_view line, size_t limit) {
    if (line.size() > MaxEntryBytes) return;
    // A view of an entry here would not survive the texts growing.
    if (!FTexts.Empty() && line.data() >= FTexts.Data() && line.data() < FTexts.Data() + FTexts.Size()) {
        Enter(std::string(line), limit);
        return;
    }
    const size_t hash = LineHash(line);
    if ((FUsedCells + 1) * 2 > FCells.size()) GrowIndex();
    // Every live entry of the name is emptied; the search ends at the free
    // cell that the new entry takes.
    size_t cell = CellOf(hash);
    for (; FCells[cell].Slot != NoSlot; cell = (cell + 1) & (FCells.size() - 1)) {
        const TCell& found = FCells[cell];
        if (found.NameHash == hash && FSlots[found.Slot].Live && SameName(Text(FSlots[found.Slot]), line))
            Remove(found.Slot);
    }
    Append(line, hash, ++FEnteredCount, cell);
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

// Into the free cell given. What can fail to allocate comes first, so
// that a failure leaves everything as it was.
void TInputHistory::Append(std::string_view text, size_t hash, uint64_t entered, size_t cell) {
    if (FSlots.size() == FSlots.capacity()) FSlots.reserve(std::max<size_t>(16, FSlots.size() * 2));
    const size_t at = FTexts.Size();
    FTexts.Put(text);
    FSlots.push_back({at, text.size(), hash, entered, true});
    FCells[cell] = {hash, FSlots.size() - 1};
    ++FUsedCells;
    ++FLiveCount;
}

// Empties a slot; its text stays in place and its cell in the index until
// the next close-up.
void TInputHistory::Remove(size_t slot) {
    FSlots[slot].Live = false;
    --FLiveCount;
}

void TInputHistory::RemoveOldest() {
    while (!FSlots[FFirstLive].Live) ++FFirstLive;
    Remove(FFirstLive);
}

// Moves the live slots and their texts together, in order, and indexes
// them again by the hashes they keep, without hashing the names again.
void TInputHistory::CloseUp() {
    size_t count = 0;
    size_t at = 0;
    for (size_t i = FFirstLive; i < FSlots.size(); ++i) {
        TSlot slot = FSlots[i];
        if (!slot.Live) continue;
        // Texts only move towards the front.
        if (slot.At != at) std::memmove(FTexts.Data() + at, FTexts.Data() + slot.At, slot.Length);
        slot.At = at;
        at += slot.Length;
        FSlots[count++] = slot;
    }
    FSlots.resize(count);
    FTexts.CutTo(at);
    FFirstLive = 0;
    Reindex(FCells.size());
}

// Indexes the live slots afresh in a table of the given size; the cells of
// emptied slots go.
void TInputHistory::Reindex(size_t size) {
    FCells.resize(size);
    for (TCell& cell : FCells) cell.Slot = NoSlot;
    FUsedCells = 0;
    for (size_t i = FFirstLive; i < FSlots.size(); ++i) {
        if (!FSlots[i].Live) continue;
        FCells[FreeCell(FSlots[i].NameHash)] = {FSlots[i].NameHash, i};
        ++FUsedCells;
    }
}

// The first free cell of the hash's probe run.
size_t TInputHistory::FreeCell(size_t hash) const {
    size_t cell = CellOf(hash);
    while (FCells[cell].Slot != NoSlot) cell = (cell + 1) & (FCells.size() - 1);
    return cell;
}

void TInputHistory::GrowIndex() { Reindex(std::max(SmallestIndex, FCells.size() * 2)); }

}  // namespace quenmark
