#include "console/terminal_text.h"

namespace quenmark {

namespace {

constexpr unsigned char Escape = 0x1B;
constexpr unsigned char Delete = 0x7F;

bool IsShownAsIs(unsigned char c) { return c == '\t' || (c >= ' ' && c != Delete); }

// "^" and the character 64 places on: "^[" for ESC, "^?" for DEL.
void AppendCaretForm(std::string& out, unsigned char c) {
    out += '^';
    out += static_cast<char>(c ^ 0x40);
}

bool IsUtf8C1Control(std::string_view text, size_t at) {
    return static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
           static_cast<unsigned char>(text[at + 1]) >= 0x80 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

}  // namespace

std::string TerminalSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsUtf8C1Control(text, i)) {
            // U+0080 + n is the 7-bit sequence ESC followed by "@" + n.
            AppendCaretForm(out, Escape);
            out += static_cast<char>(static_cast<unsigned char>(text[++i]) - 0x40);
        } else if (IsShownAsIs(c)) {
            out += static_cast<char>(c);
        } else {
            AppendCaretForm(out, c);
        }
    }
    return out;
}

}  // namespace quenmark
