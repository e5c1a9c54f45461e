#pragma once

#include <filesystem>

namespace quenmark::test {

// A fresh copy of the built program directory at to, without the settings
// files a run of the build's own programs may have left there, for a test
// that runs the programs as processes. Needs QUENMARK_PROGRAM_DIR.
inline void CopyProgramDirectory(const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    fs::remove_all(to);
    fs::copy(QUENMARK_PROGRAM_DIR, to, fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(to))
        if (entry.path().extension() == ".cfg") fs::remove(entry.path());
}

}  // namespace quenmark::test
