#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// A source of message texts by code. The message catalogue implements it.
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // The text for the code, or nothing when the source has none.
    virtual std::optional<std::string> Text(std::string_view code) const = 0;
    // The text with every "%1" replaced by the argument, or nothing.
    virtual std::optional<std::string> TextWith(std::string_view code,
                                                std::string_view argument) const = 0;
};

// The source in force for GetText; null while none is loaded. Not owned.
const MessageSource* CurrentMessageSource();
void SetCurrentMessageSource(const MessageSource* source);

// The text of a message code. A lookup never fails: without a text the
// result is the code itself.
std::string GetText(std::string_view code);
std::string GetTextWith(std::string_view code, std::string_view argument);

}  // namespace quenmark
