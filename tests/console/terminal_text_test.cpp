#include "console/terminal_text.h"

#include <gtest/gtest.h>

namespace quenmark {
namespace {

TEST(TerminalTextTest, ControlBytesAreShownNotObeyed) {
    struct Row {
        const char* name;
        std::string text;
        std::string shown;
    };
    const Row rows[] = {
        {"plain text", "x = 14", "x = 14"},
        {"window title", "\x1b]0;owned\x07", "^[]0;owned^G"},
        {"colour", "\x1b[31mred", "^[[31mred"},
        {"bell, backspace, null", std::string("a\x07\x08\0b", 5), "a^G^H^@b"},
        {"delete", "a\x7f", "a^?"},
        {"tab stays", "\tPUSH 1", "\tPUSH 1"},
        {"UTF-8 stays", "\xc3\xa4\xe2\x82\xac", "\xc3\xa4\xe2\x82\xac"},
        {"C1 CSI in UTF-8", "\xc2\x9b" "2J", "^[[2J"},
        {"no-break space stays", "\xc2\xa0", "\xc2\xa0"},
    };
    for (const Row& row : rows) EXPECT_EQ(TerminalSafeText(row.text), row.shown) << row.name;
}

}  // namespace
}  // namespace quenmark
