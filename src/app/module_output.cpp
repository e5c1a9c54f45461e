#include "app/module_output.h"

#include <cstring>
#include <string_view>

#include "base/text_lines.h"

namespace quenmark {

namespace {

std::vector<std::string>* CurrentOutputLines = nullptr;

// The characters before the zero byte, at most length of them.
std::string_view BoundedText(const char* text, int32_t length) {
    if (!text || length <= 0) return {};
    const size_t limit = static_cast<size_t>(length);
    const void* zero = std::memchr(text, 0, limit);
    return std::string_view(text, zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit);
}

}  // namespace

std::vector<std::string> JoinOutputText(const std::vector<std::string>& lines, std::string_view text) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += line;
        joined += "\r\n";
    }
    joined += text;
    return SplitLines(joined);
}

extern "C" int32_t ModuleOutput(const char* text, int32_t length) {
    if (CurrentOutputLines) *CurrentOutputLines = JoinOutputText(*CurrentOutputLines, BoundedText(text, length));
    return -1;
}

void SetModuleOutputLines(std::vector<std::string>* lines) { CurrentOutputLines = lines; }

std::vector<std::string>* ModuleOutputLines() { return CurrentOutputLines; }

}  // namespace quenmark
