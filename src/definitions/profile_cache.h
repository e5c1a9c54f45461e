#pragma once

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "base/context.h"
#include "base/definition_files.h"
#include "definitions/profile_text.h"

namespace quenmark {

// Parsed copies of definition files, so that an unchanged file is not read
// again and a changed one always is. A copy is trusted while the file has
// the same device and inode, size and modification time (nanoseconds). A
// file modified within RacyInterval before it was read could be modified
// again with the same size within the same timestamp tick, unseen by those
// checks: such a copy is read again at every lookup until the file is
// older than that.
//
// The application keeps one for its run and hands it down in its context
// (TCCContext::Files), the store of every reader and writer below.
class TProfileCache : public TDefinitionFiles {
public:
    static constexpr std::chrono::milliseconds RacyInterval{100};
    // How long a copy looked up as recent is trusted without asking the
    // file system again, unless Revalidate is called first.
    static constexpr std::chrono::milliseconds RecentInterval{100};

    // Now: the file as it is at this moment (a stat at every lookup).
    // Recent: the file as it was at most RecentInterval ago, or since the
    // last Revalidate; for lookups by the thousand, such as message texts.
    enum class Freshness { Now, Recent };

    enum class FileState { Missing, Present, Unreadable };
    struct Snapshot {
        FileState State = FileState::Missing;
        std::shared_ptr<const TProfileText> Text;  // never null; empty unless Present
        int Error = 0;  // the errno of an Unreadable file
    };

    // The file's contents, as fresh as asked.
    Snapshot Load(const std::string& path, Freshness freshness = Freshness::Now);

    // Applies edit to a copy of the file's contents (empty for a missing
    // file when createMissing is set) and writes the result over the file
    // atomically. Returns false, leaving file and copy as they were, when
    // the file cannot be read, is missing without createMissing, edit
    // returns false, or the file cannot be written; errno then tells why
    // (unchanged when edit refused).
    bool Update(const std::string& path, bool createMissing, const std::function<bool(TProfileText&)>& edit);

    // How many times a file has been read from disk.
    uint64_t ReadCount() const override { return FReadCount; }

    // Forgets every parsed copy.
    void Clear() override;
    // Forgets the copy of one file, which was written by other means.
    void Forget(const std::string& path);
    void Revalidate() override { ++FEpoch; }

private:
    struct Identity {
        dev_t Device;
        ino_t Inode;
        off_t Size;
        int64_t ModifiedNs;
    };
    struct Entry {
        Identity Id;
        bool Racy;
        std::shared_ptr<const TProfileText> Text;
        int64_t CheckedAtNs = 0;  // monotonic time of the last check against the file
        uint64_t CheckedEpoch = 0;
    };

    static Identity IdentityOf(const struct stat& status);
    Snapshot LoadLocked(const std::string& path);
    const Entry* RecentEntry(const std::string& path) const;
    Snapshot ReadFromDisk(const std::string& path);
    void Remember(const std::string& path, const struct stat& status, int64_t readStartNs,
                  std::shared_ptr<const TProfileText> text);

    std::mutex FMutex;
    std::unordered_map<std::string, Entry> FEntries;
    uint64_t FReadCount = 0;
    std::atomic<uint64_t> FEpoch{0};
};

// The errno that reports a file that is not a regular file: EISDIR for a
// directory, EINVAL for anything else (a FIFO, a device, a socket).
int NotRegularError(const struct stat& status);

// The file's current contents and TProfileCache::Update, through the
// context's cache. A context without one reads and writes the file
// directly, with no copy kept; one whose store is not a TProfileCache
// throws std::logic_error.
TProfileCache::Snapshot LoadDefinitionFile(const TCCContext& context, const std::string& path,
                                           TProfileCache::Freshness freshness = TProfileCache::Freshness::Now);
bool UpdateDefinitionFile(const TCCContext& context, const std::string& path, bool createMissing,
                          const std::function<bool(TProfileText&)>& edit);
// TProfileCache::Forget through the context's cache, if it has one.
void ForgetDefinitionFile(const TCCContext& context, const std::string& path);

}  // namespace quenmark
