#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
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
// not change while it is in the table; the index holds views of it. A name
// looked for is put into capitals first, so that the index compares and
// hashes plain bytes, with the hash of each entry kept beside it.
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
    void Added(TEntry& entry) { FEarliest.try_emplace(entry.UpperName, &entry); }

    // Before an entry leaves the table, while items still holds it: the next
    // entry of the name, in table order, becomes the one found.
    void Removing(const TEntry& entry, const TItems& items) {
        const auto found = FEarliest.find(entry.UpperName);
        if (found == FEarliest.end() || found->second != &entry) return;
        FEarliest.erase(found);
        for (const auto& item : items) {
            if (item.get() != &entry && item->UpperName == entry.UpperName) {
                FEarliest.emplace(item->UpperName, item.get());
                return;
            }
        }
    }

    void Clear() { FEarliest.clear(); }

private:
    TEntry* FindUpper(std::string_view upperName) const {
        const auto found = FEarliest.find(upperName);
        return found == FEarliest.end() ? nullptr : found->second;
    }

    // The name hash, not noexcept: that has the map keep each entry's hash
    // and compare it before the names.
    struct TKeptHash {
        size_t operator()(std::string_view name) const { return TNameHash()(name); }
    };

    std::unordered_map<std::string_view, TEntry*, TKeptHash> FEarliest;
};

}  // namespace quenmark
