#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/module_quarantine.h"
#include "vm/module_offer.h"

namespace quenmark {

// What the modules offered when they were last loaded, so that a later run
// can enter their names without loading them and load each one only when a
// line needs it. It shares the one module cache file of the user's cache
// folder with the records of modules that crashed the program
// (app/module_quarantine.h): those lines are kept as they are.
//
// An entry is a block of lines, each a keyword and its fields:
//   module SIZE SECONDS NANOSECONDS INODE PATH   (opens the entry)
//   loads 0|1, failure CODE REASON, info NAME TAB COMMENT TAB ...,
//   constant NAME TAB DESCRIPTION TAB i|r|s VALUE,
//   function NAME TAB ARGCOUNT TAB DESCRIPTION,
//   reached FUNCTIONS OUTPUT, tokenizer 0|1 [STARTS]
// Texts escape backslash, tab, line feed and carriage return.

// What an entry is keyed by: the file's stamp and its inode, so that a
// module replaced by another file is seen even with the same size and time.
struct TModuleIndexKey {
    TModuleFileStamp Stamp;
    uint64_t Inode = 0;
    bool operator==(const TModuleIndexKey&) const = default;
};

// The key of the file at path as it is now; none when it cannot be read.
std::optional<TModuleIndexKey> IndexKeyOfFile(const std::string& path);

struct TModuleIndexEntry {
    TModuleIndexKey Key;
    TModuleOffer Offer;
    bool operator==(const TModuleIndexEntry&) const = default;
};

// The text of entries, and the reverse. Lines that belong to no entry (the
// crash records) and an entry that does not read whole are skipped.
std::string ModuleIndexText(const std::vector<TModuleIndexEntry>& entries);
std::vector<TModuleIndexEntry> ParseModuleIndex(std::string_view text);

// The index of one run: the entries read from the cache file at
// construction, and those this run keeps (in load order) to write back.
class TModuleIndex {
public:
    // directory: the cache folder, ending with "/" (empty: no index).
    explicit TModuleIndex(std::string directory);
    // The same from the cache file's text, read already.
    TModuleIndex(std::string directory, std::string_view cacheText);

    // Whether the cache file can be written: its folder exists or can be
    // made, and the file can be opened for writing.
    bool Writable() const;
    // The entry for the file as it is now, if the index holds one. Shared,
    // so that what waits to be loaded can keep it without a copy.
    std::shared_ptr<const TModuleOffer> Find(const TModuleIndexKey& key) const;
    // An entry of this run, found or rebuilt.
    void Keep(const TModuleIndexKey& key, std::shared_ptr<const TModuleOffer> offer);
    // Whether this run's entries differ from those read.
    bool Changed() const;
    // Writes this run's entries with the crash records the file holds
    // now, as one replacement; false when it could not.
    bool Write() const;

private:
    struct TIndexed {
        TModuleIndexKey Key;
        std::shared_ptr<const TModuleOffer> Offer;
    };

    std::string FDirectory;
    std::vector<TIndexed> FRead;
    std::vector<TIndexed> FKept;
};

}  // namespace quenmark
