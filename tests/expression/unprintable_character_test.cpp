// The character an INT030 message names: unprintable bytes in their escaped
// form, so that the message keeps every character; everything else as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expression/string_tokenizer.h"
#include "support/echo_messages.h"
#include "base/exception.h"

namespace quenmark {
namespace {

// The message of the first token error of a line, with the arguments shown.
std::string ErrorOf(const std::string& line) {
    const testing::EchoContext context;
    TCCStringTokenizer tokenizer(context, line);
    try {
        while (tokenizer.NextToken()) {
        }
    } catch (const EINError& error) {
        return error.what();
    }
    return "no error";
}

struct NamedCharacter {
    std::string Bytes;
    std::string Shown;
};

TEST(UnprintableCharacterTest, InvalidCharacterIsNamedWhole) {
    const std::vector<NamedCharacter> cases = {
        {std::string(1, '\0'), "\\x00"},
        {"\x01", "\\x01"},
        {"\n", "\\x0A"},
        {"\x1F", "\\x1F"},
        {"\x7F", "\\x7F"},
        {"~", "~"},        // printable: as it is
        {"\x80", "\x80"},  // above 127: as it is
    };
    for (const NamedCharacter& named : cases) {
        const std::string line = "x" + named.Bytes + "y = 3";
        EXPECT_EQ(ErrorOf(line), "INT030: " + named.Shown) << "byte " << static_cast<int>(named.Bytes[0]);
    }
}

}  // namespace
}  // namespace quenmark
