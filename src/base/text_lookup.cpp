#include "base/text_lookup.h"

namespace quenmark {

namespace {
const MessageSource* currentSource = nullptr;
}

const MessageSource* CurrentMessageSource() { return currentSource; }

void SetCurrentMessageSource(const MessageSource* source) { currentSource = source; }

std::string GetText(std::string_view code) {
    if (currentSource) {
        if (auto text = currentSource->Text(code)) return *text;
    }
    return std::string(code);
}

std::string GetTextWith(std::string_view code, std::string_view argument) {
    if (currentSource) {
        if (auto text = currentSource->TextWith(code, argument)) return *text;
    }
    return std::string(code);
}

}  // namespace quenmark
