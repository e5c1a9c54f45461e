#pragma once

#include <string>
#include <string_view>

#include "base/context.h"
#include "base/text_lookup.h"

namespace quenmark::testing {

// A message source that writes a code with an argument as "CODE: argument",
// so tests see which argument a message was given. Codes without an
// argument stay the code itself.
class EchoMessages : public MessageSource {
public:
    std::optional<std::string> Text(std::string_view) const override { return std::nullopt; }
    std::optional<std::string> TextWith(std::string_view code, std::string_view argument) const override {
        return std::string(code) + ": " + std::string(argument);
    }
};

// A context of a test's own whose messages are EchoMessages, with the
// separators "." and ",".
class EchoContext : public TCCContext {
public:
    EchoContext() { SetMessages(&FEcho); }

private:
    EchoMessages FEcho;
};

}  // namespace quenmark::testing
