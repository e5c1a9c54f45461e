#include "support/transcript_session.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "app/line_session.h"
#include "app/settings.h"

namespace quenmark::testing {

namespace {

// A fresh private directory, removed with its contents at the end.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-transcript-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

}  // namespace

std::vector<std::string> RunThroughLineSession(TCCInterpreter& interpreter, const std::vector<std::string>& inputs) {
    const ScratchDirectory directory;
    TSettings settings(directory.File("Quenmark.cfg"));
    TLineSession session(interpreter, settings);
    std::vector<std::string> log;
    session.OnLogLine = [&log](const std::string& line) { log.push_back(line); };
    for (const std::string& input : inputs) session.ExecuteLine(input);
    return log;
}

}  // namespace quenmark::testing
