#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/file_bytes.h"

namespace quenmark::testing {

// A fresh directory under /tmp for one test, removed with everything in it.
class TempDirectory {
public:
    TempDirectory() {
        char pattern[] = "/tmp/quenmark-test-XXXXXX";
        FPath = mkdtemp(pattern);
        FPath += '/';
    }
    ~TempDirectory() { std::filesystem::remove_all(FPath); }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory, with a trailing "/".
    const std::string& Path() const { return FPath; }
    std::string PathOf(const std::string& name) const { return FPath + name; }

    // Writes the file byte for byte and gives it a modification time in the
    // past, so that cached copies of it count as settled.
    std::string Write(const std::string& name, const std::string& contents) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << contents;
        AgeFile(path);
        return path;
    }

    std::string Read(const std::string& name) const { return FileBytes(PathOf(name)); }

    // Sets the file's modification time to a fixed moment in the past.
    static void AgeFile(const std::string& path, long nanoseconds = 0) {
        timespec times[2];
        times[0].tv_sec = times[1].tv_sec = 1'600'000'000;
        times[0].tv_nsec = times[1].tv_nsec = nanoseconds;
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }

private:
    std::string FPath;
};

}  // namespace quenmark::testing
