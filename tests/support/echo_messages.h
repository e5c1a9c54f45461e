#pragma once

#include <string>
#include <string_view>

#include "base/text_lookup.h"

namespace quenmark::testing {

// A message source that writes a code with an argument as "CODE: argument",
// so tests see which argument a message was given. Codes without an
// argument stay the code itself. Installed for the lifetime of the object.
class EchoMessages : public MessageSource {
public:
    EchoMessages() : previous_(CurrentMessageSource()) { SetCurrentMessageSource(this); }
    ~EchoMessages() override { SetCurrentMessageSource(previous_); }
    EchoMessages(const EchoMessages&) = delete;
    EchoMessages& operator=(const EchoMessages&) = delete;

    std::optional<std::string> Text(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override {
        return std::string(code) + ": " + std::string(argument);
    }

private:
    const MessageSource* previous_;
};

}  // namespace quenmark::testing
