#pragma once

#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// Replaces a file's contents as one step: the contents go to a new file in
// the same directory, which is flushed to disk and then renamed over the
// old one, so that an interrupted save leaves the old file or the new one,
// never a mix. A symbolic link is followed and its target replaced. The new
// file is private to its owner (0600) while it is written, and takes an
// existing file's permission bits just before the rename; a file that did
// not exist stays 0600, as it may hold the user's data. Returns the status of the written file, or nothing when a step
// failed, with errno telling why; the old file is then untouched and no
// temporary file remains.
// Temporary files that earlier saves of the same file left behind because
// their process was killed are removed first.
std::optional<struct stat> ReplaceFileContents(const std::string& path, std::string_view contents);

// Writes every byte, going on after a short write or an interruption;
// false at the first failure, with errno telling why. Async-signal-safe.
bool WriteAllBytes(int fd, const char* data, size_t size);

// Makes a write beyond the file-size limit (ulimit -f) fail with EFBIG
// instead of ending the process, so that a save can report the failure and
// clean up after itself. For the start of a program's main.
void IgnoreFileSizeSignal();

// Bytes handed to a file in blocks of a buffer of its own.
class TFileBlockWriter {
public:
    explicit TFileBlockWriter(int fd) : FFd(fd) {}
    TFileBlockWriter(const TFileBlockWriter&) = delete;
    TFileBlockWriter& operator=(const TFileBlockWriter&) = delete;
    void Put(std::string_view bytes);
    // Writes what the buffer holds; false once a write failed (errno
    // tells why), after which nothing more is written.
    bool Flush();

private:
    int FFd;
    bool FFailed = false;
    int FError = 0;
    size_t FUsed = 0;
    char FBuffer[65536];
};

// ReplaceFileContents with the contents put by produce, block by block, so
// that they are never held whole. produce returns false to give the
// replacement up (errno then tells why); an exception it throws gives it
// up too and is passed on. Either way the old file stays untouched.
std::optional<struct stat> ReplaceFileStreamed(const std::string& path,
                                               const std::function<bool(TFileBlockWriter&)>& produce);

}  // namespace quenmark
