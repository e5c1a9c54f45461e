#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// Modules that crashed the program while it loaded them. The fatal-signal
// handler appends a record of the module being loaded to a file in the
// user's cache folder; later starts skip a module whose file still matches
// a record, and try it again once its size or modification time differ.
//
// Each record is one line: size, modification seconds and nanoseconds,
// then the absolute path to the end of the line.

// What a module file is recognised by.
struct TModuleFileStamp {
    std::string Path;
    int64_t Size = 0;
    int64_t ModifiedSeconds = 0;
    int64_t ModifiedNanoseconds = 0;
    bool operator==(const TModuleFileStamp&) const = default;
};

// The stamp of the file at path as it is now; none when it cannot be read.
std::optional<TModuleFileStamp> StampOfFile(const std::string& path);

// A record line with its line feed, and the reverse; a line that is no
// record gives none.
std::string QuarantineRecordLine(const TModuleFileStamp& stamp);
std::optional<TModuleFileStamp> ParseQuarantineRecord(std::string_view line);

// The folder of the records, the user's cache folder: cacheHome +
// "/quenmark/" for an absolute cacheHome ($XDG_CACHE_HOME), else home +
// "/.cache/quenmark/"; empty without either.
std::string QuarantineDirectory(const std::string& homeDirectory, const std::string& cacheHome);
// The same from the environment.
std::string QuarantineDirectory();
// The one module cache file: these records, and the module index
// (app/module_index.h) around them.
constexpr const char* QuarantineFileName = "module-cache";

// The whole module cache file of a folder; empty when it cannot be read.
std::string ReadModuleCacheFile(const std::string& directory);

// The records found in a folder at construction.
class TModuleQuarantine {
public:
    explicit TModuleQuarantine(std::string directory);
    // The records of the cache file's text, read already.
    TModuleQuarantine(std::string directory, std::string_view cacheText);

    const std::string& Directory() const { return FDirectory; }
    // Whether a module file with this stamp crashed the program at load.
    bool Holds(const TModuleFileStamp& stamp) const;

    // Prepares the record of the module about to be loaded in fixed storage,
    // so that the fatal-signal handler can write it without allocating.
    // False when the paths do not fit; the module then loads unrecorded.
    bool Arm(const TModuleFileStamp& stamp) const;
    // No module is being loaded any more.
    static void Disarm();

private:
    std::string FDirectory;
    std::vector<TModuleFileStamp> FRecords;
};

// Appends the armed record to the file, creating the folder (and its
// parent) with mode 0700 and the file with 0600. Async-signal-safe; false
// when nothing is armed or the record could not be written whole.
bool WriteArmedQuarantineRecord();

}  // namespace quenmark
