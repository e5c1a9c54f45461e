#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// A source of message texts by code. The message catalogue implements it;
// the context (base/context.h) holds the one in force and looks texts up
// with GetText and GetTextWith.
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // The text for the code, or nothing when the source has none.
    virtual std::optional<std::string> Text(std::string_view code) const = 0;
    // The text with every "%1" replaced by the argument, or nothing.
    virtual std::optional<std::string> TextWith(std::string_view code,
                                                std::string_view argument) const = 0;
};

}  // namespace quenmark
