#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "expression/interpreter.h"
#include "base/exception.h"

namespace quenmark::fuzz {

namespace {

class ScratchDirectoryOwner {
public:
    ScratchDirectoryOwner() {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        const std::filesystem::path directory = base / ("quenmark-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(directory);
        FPath = directory.string() + "/";
    }
    ~ScratchDirectoryOwner() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

}  // namespace

const std::string& ScratchDirectory() {
    static const ScratchDirectoryOwner owner;
    return owner.Path();
}

void RunLine(TCCInterpreter& interpreter, const std::string& line) {
    try {
        interpreter.ProcessLine(line);
    } catch (const Exception&) {
        // the line's error, shown to the user
    }
    interpreter.OutputLines().clear();
}

void WriteFile(const std::string& path, std::string_view contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    Require(file.good(), "the harness can write its scratch file");
}

void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

std::vector<std::string> InputLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string SettingsFileWith(std::string_view section, std::string_view body) {
    std::string file = "[Information]\r\nPurpose=";
    file += SettingsPurpose11;
    file += "\r\n[";
    file += section;
    file += "]\r\n";
    file += body;
    return file;
}

}  // namespace quenmark::fuzz
