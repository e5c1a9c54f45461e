#pragma once

#include <cstdint>

namespace quenmark {

// The store through which the definition readers and writers reach their
// files, carried by the context so that every layer can hand it on. The
// definitions layer implements it with its cache of parsed copies
// (TProfileCache) and is the only one to read files through it.
class TDefinitionFiles {
public:
    virtual ~TDefinitionFiles() = default;
    // How many times a file has been read from disk.
    virtual uint64_t ReadCount() const = 0;
    // Forgets every parsed copy.
    virtual void Clear() = 0;
    // Files looked up as recent (the message texts) are checked again at
    // their next lookup, as when their check interval has passed. The
    // interpreter calls it at the start of every line, so that a line sees
    // the files as they are when it starts.
    virtual void Revalidate() {}
};

}  // namespace quenmark
