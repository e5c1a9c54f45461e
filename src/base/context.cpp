#include "base/context.h"

namespace quenmark {

std::string TCCContext::GetText(std::string_view code) const {
    if (FMessages) {
        if (auto text = FMessages->Text(code)) return *text;
    }
    return std::string(code);
}

std::string TCCContext::GetTextWith(std::string_view code, std::string_view argument) const {
    if (FMessages) {
        if (auto text = FMessages->TextWith(code, argument)) return *text;
    }
    return std::string(code);
}

}  // namespace quenmark
