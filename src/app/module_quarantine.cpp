#include "app/module_quarantine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/atomic_file.h"
#include "app/settings_file.h"

namespace quenmark {

namespace {

// The armed record: written before the module's code runs, read by the
// signal handler.
struct TArmedRecord {
    char Parent[1024] = {};
    char Directory[1024] = {};
    char File[1100] = {};
    char Line[4200] = {};
    size_t LineSize = 0;
};

TArmedRecord armedRecord;
std::atomic<bool> armed{false};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The folder above directory (which ends with "/"), without its slash.
std::string ParentOf(const std::string& directory) {
    const std::string trimmed = directory.substr(0, directory.size() - 1);
    const size_t slash = trimmed.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : trimmed.substr(0, slash);
}

bool CopyInto(char* target, size_t room, const std::string& text) {
    if (text.size() >= room) return false;
    std::memcpy(target, text.data(), text.size());
    target[text.size()] = 0;
    return true;
}

bool ParseNumber(std::string_view& text, int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || end == text.data() + text.size() || *end != ' ')
        return false;
    text.remove_prefix(static_cast<size_t>(end - text.data()) + 1);
    return true;
}


}  // namespace

std::optional<TModuleFileStamp> StampOfFile(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return TModuleFileStamp{path, static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
                            static_cast<int64_t>(status.st_mtim.tv_nsec)};
}

std::string QuarantineRecordLine(const TModuleFileStamp& stamp) {
    return std::to_string(stamp.Size) + " " + std::to_string(stamp.ModifiedSeconds) + " " +
           std::to_string(stamp.ModifiedNanoseconds) + " " + stamp.Path + "\n";
}

std::optional<TModuleFileStamp> ParseQuarantineRecord(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    TModuleFileStamp stamp;
    if (!ParseNumber(line, stamp.Size) || !ParseNumber(line, stamp.ModifiedSeconds) ||
        !ParseNumber(line, stamp.ModifiedNanoseconds) || line.empty() || line.front() != '/')
        return std::nullopt;
    stamp.Path = std::string(line);
    return stamp;
}

std::string QuarantineDirectory(const std::string& homeDirectory, const std::string& cacheHome) {
    return XdgFolder(homeDirectory, cacheHome, ".cache");
}

std::string QuarantineDirectory() {
    return QuarantineDirectory(SettingsHomeDirectory(), Environment("XDG_CACHE_HOME"));
}

std::string ReadModuleCacheFile(const std::string& directory) {
    std::string text;
    if (directory.empty()) return text;
    const int file = open((directory + QuarantineFileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return text;
    struct stat status {};
    if (fstat(file, &status) == 0 && status.st_size > 0) {
        text.resize(static_cast<size_t>(status.st_size));
        size_t done = 0;
        for (ssize_t got = 1; done < text.size() && got > 0; done += got > 0 ? static_cast<size_t>(got) : 0)
            got = read(file, text.data() + done, text.size() - done);
        text.resize(done);
    }
    close(file);
    return text;
}

TModuleQuarantine::TModuleQuarantine(std::string directory)
    : TModuleQuarantine(directory, ReadModuleCacheFile(directory)) {}

// The lines of the module index around the records start with a letter and
// are passed over.
TModuleQuarantine::TModuleQuarantine(std::string directory, std::string_view cacheText)
    : FDirectory(std::move(directory)) {
    if (FDirectory.empty()) return;
    for (std::string_view rest = cacheText; !rest.empty();) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.empty() || line.front() < '0' || line.front() > '9') continue;
        if (auto stamp = ParseQuarantineRecord(line)) FRecords.push_back(std::move(*stamp));
    }
}

bool TModuleQuarantine::Holds(const TModuleFileStamp& stamp) const {
    for (const TModuleFileStamp& record : FRecords)
        if (record == stamp) return true;
    return false;
}

bool TModuleQuarantine::Arm(const TModuleFileStamp& stamp) const {
    Disarm();
    // A path with a line break could not be read back as one record.
    if (FDirectory.empty() || stamp.Path.find('\n') != std::string::npos) return false;
    const std::string line = QuarantineRecordLine(stamp);
    if (!CopyInto(armedRecord.Parent, sizeof armedRecord.Parent, ParentOf(FDirectory)) ||
        !CopyInto(armedRecord.Directory, sizeof armedRecord.Directory, FDirectory) ||
        !CopyInto(armedRecord.File, sizeof armedRecord.File, FDirectory + QuarantineFileName) ||
        !CopyInto(armedRecord.Line, sizeof armedRecord.Line, line))
        return false;
    armedRecord.LineSize = line.size();
    armed.store(true);
    return true;
}

void TModuleQuarantine::Disarm() { armed.store(false); }

bool WriteArmedQuarantineRecord() {
    if (!armed.load()) return false;
    if (armedRecord.Parent[0]) mkdir(armedRecord.Parent, 0700);
    mkdir(armedRecord.Directory, 0700);
    const int file = open(armedRecord.File, O_CREAT | O_APPEND | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) return false;
    const bool written = WriteAllBytes(file, armedRecord.Line, armedRecord.LineSize);
    return close(file) == 0 && written;
}

}  // namespace quenmark
