#include "base/text_lines.h"

#include <gtest/gtest.h>

namespace quenmark {
namespace {

TEST(TextLinesTest, SplitLinesKeepsEmptyLinesButNoTrailingOne) {
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
}

TEST(TextLinesTest, EmptyTextGivesOneEmptyLineOnlyWhenAsked) {
    EXPECT_EQ(SplitLines("", EmptyText::OneEmptyLine), std::vector<std::string>{""});
    EXPECT_EQ(SplitLines("\n", EmptyText::OneEmptyLine), std::vector<std::string>{""});
    EXPECT_EQ(SplitLines("a\rb\n", EmptyText::OneEmptyLine), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace quenmark
