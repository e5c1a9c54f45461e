#include "definitions/profile_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <stdexcept>

#include "definitions/profile_lines.h"
#include "platform/atomic_file.h"

namespace quenmark {

namespace {

int64_t RealTimeNs() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int64_t MonotonicNs() {
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

const std::shared_ptr<const TProfileText>& EmptyText() {
    static const auto empty = std::make_shared<const TProfileText>();
    return empty;
}

// The file's lines, read one at a time so that the file is never held
// whole beside them; false on a read error, with errno telling why.
bool ReadLines(int fd, std::vector<std::string>& lines) {
    TProfileLineReader reader(fd);
    for (std::string line; reader.Next(line);) lines.push_back(std::move(line));
    return !reader.Failed();
}

}  // namespace

int NotRegularError(const struct stat& status) { return S_ISDIR(status.st_mode) ? EISDIR : EINVAL; }

TProfileCache::Identity TProfileCache::IdentityOf(const struct stat& status) {
    const int64_t modified = static_cast<int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return Identity{status.st_dev, status.st_ino, status.st_size, modified};
}

TProfileCache::Snapshot TProfileCache::Load(const std::string& path, Freshness freshness) {
    std::lock_guard lock(FMutex);
    if (freshness == Freshness::Recent)
        if (const Entry* entry = RecentEntry(path)) return {FileState::Present, entry->Text};
    return LoadLocked(path);
}

// The copy of the file when it was checked within RecentInterval and since
// the last Revalidate, else null.
const TProfileCache::Entry* TProfileCache::RecentEntry(const std::string& path) const {
    const auto it = FEntries.find(path);
    if (it == FEntries.end() || it->second.CheckedEpoch != FEpoch) return nullptr;
    const int64_t age = MonotonicNs() - it->second.CheckedAtNs;
    return age < std::chrono::nanoseconds(RecentInterval).count() ? &it->second : nullptr;
}

TProfileCache::Snapshot TProfileCache::LoadLocked(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        FEntries.erase(path);
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return {missing ? FileState::Missing : FileState::Unreadable, EmptyText(), missing ? 0 : errno};
    }
    if (!S_ISREG(status.st_mode)) {
        FEntries.erase(path);
        return {FileState::Unreadable, EmptyText(), NotRegularError(status)};
    }
    const auto it = FEntries.find(path);
    if (it != FEntries.end() && !it->second.Racy) {
        const Identity now = IdentityOf(status);
        const Identity& known = it->second.Id;
        if (now.Device == known.Device && now.Inode == known.Inode && now.Size == known.Size &&
            now.ModifiedNs == known.ModifiedNs) {
            it->second.CheckedAtNs = MonotonicNs();
            it->second.CheckedEpoch = FEpoch;
            return {FileState::Present, it->second.Text};
        }
    }
    return ReadFromDisk(path);
}

TProfileCache::Snapshot TProfileCache::ReadFromDisk(const std::string& path) {
    FEntries.erase(path);
    const int64_t readStart = RealTimeNs();
    // Without O_NONBLOCK a FIFO put in the file's place would block the
    // open until a writer came; only regular files are read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const bool missing = errno == ENOENT;
        return {missing ? FileState::Missing : FileState::Unreadable, EmptyText(), missing ? 0 : errno};
    }
    struct stat status {};
    std::vector<std::string> lines;
    bool ok = fstat(fd, &status) == 0;
    int error = ok ? 0 : errno;
    if (ok && !S_ISREG(status.st_mode)) {
        ok = false;
        error = NotRegularError(status);
    }
    if (ok && !ReadLines(fd, lines)) {
        ok = false;
        error = errno;
    }
    close(fd);
    if (!ok) return {FileState::Unreadable, EmptyText(), error};
    ++FReadCount;
    auto text = std::make_shared<const TProfileText>(std::move(lines));
    Remember(path, status, readStart, text);
    return {FileState::Present, std::move(text)};
}

void TProfileCache::Remember(const std::string& path, const struct stat& status, int64_t readStartNs,
                             std::shared_ptr<const TProfileText> text) {
    const Identity id = IdentityOf(status);
    const bool racy = id.ModifiedNs + std::chrono::nanoseconds(RacyInterval).count() > readStartNs;
    FEntries.insert_or_assign(path, Entry{id, racy, std::move(text), MonotonicNs(), FEpoch});
}

bool TProfileCache::Update(const std::string& path, bool createMissing,
                           const std::function<bool(TProfileText&)>& edit) {
    std::lock_guard lock(FMutex);
    const Snapshot current = LoadLocked(path);
    if (current.State == FileState::Unreadable) {
        errno = current.Error;
        return false;
    }
    if (current.State == FileState::Missing && !createMissing) {
        errno = ENOENT;
        return false;
    }
    auto edited = std::make_shared<TProfileText>(*current.Text);
    if (!edit(*edited)) return false;
    const int64_t writeStart = RealTimeNs();
    const std::optional<struct stat> written = ReplaceFileContents(path, edited->Contents());
    if (!written) return false;
    Remember(path, *written, writeStart, std::move(edited));
    return true;
}

void TProfileCache::Clear() {
    std::lock_guard lock(FMutex);
    FEntries.clear();
}

void TProfileCache::Forget(const std::string& path) {
    std::lock_guard lock(FMutex);
    FEntries.erase(path);
}

namespace {

// The context's cache, or null for a context without a store.
TProfileCache* CacheOf(const TCCContext& context) {
    TDefinitionFiles* files = context.Files();
    if (!files) return nullptr;
    auto* cache = dynamic_cast<TProfileCache*>(files);
    if (!cache) throw std::logic_error("the context's definition-file store is not a TProfileCache");
    return cache;
}

}  // namespace

TProfileCache::Snapshot LoadDefinitionFile(const TCCContext& context, const std::string& path,
                                           TProfileCache::Freshness freshness) {
    if (TProfileCache* cache = CacheOf(context)) return cache->Load(path, freshness);
    TProfileCache once;
    return once.Load(path);
}

bool UpdateDefinitionFile(const TCCContext& context, const std::string& path, bool createMissing,
                          const std::function<bool(TProfileText&)>& edit) {
    if (TProfileCache* cache = CacheOf(context)) return cache->Update(path, createMissing, edit);
    TProfileCache once;
    return once.Update(path, createMissing, edit);
}

void ForgetDefinitionFile(const TCCContext& context, const std::string& path) {
    if (TProfileCache* cache = CacheOf(context)) cache->Forget(path);
}

}  // namespace quenmark
