#include "app/rewritable_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenmark {
namespace {

std::vector<std::string> Contents(const TRewritableLines& lines) {
    std::vector<std::string> result;
    for (size_t i = 0; i < lines.Size(); ++i) result.emplace_back(lines[i]);
    return result;
}

TEST(RewritableLinesTest, ReplacementsShorterEqualLongerAndEmptyKeepTheOtherLines) {
    struct Case {
        std::string Replacement;
    };
    const Case cases[] = {{""}, {"x"}, {"bbbb"}, {std::string(300, 'y')}, {std::string(5000, 'z')}};
    for (const Case& c : cases) {
        TRewritableLines lines;
        lines.Add("aaaa");
        lines.Add("bbbb");
        lines.Add("cccc");
        lines.Replace(1, c.Replacement);
        EXPECT_EQ(Contents(lines), (std::vector<std::string>{"aaaa", c.Replacement, "cccc"}))
            << c.Replacement.size();
        lines.Add("dddd");
        EXPECT_EQ(lines[3], "dddd");
    }
}

// Many growing replacements leave megabytes of old bytes behind, reclaimed
// as they go;
// every line still reads back as last written.
TEST(RewritableLinesTest, ManyGrowingReplacementsReadBackWhole) {
    TRewritableLines lines;
    std::vector<std::string> expected;
    for (int i = 0; i < 2000; ++i) {
        expected.push_back("line" + std::to_string(i));
        lines.Add(expected.back());
    }
    for (int round = 1; round <= 30; ++round)
        for (size_t i = 0; i < expected.size(); i += 3) {
            expected[i] += std::string(static_cast<size_t>(4 * round), static_cast<char>('a' + round % 26));
            lines.Replace(i, expected[i]);
        }
    EXPECT_EQ(Contents(lines), expected);
    lines.Clear();
    EXPECT_EQ(lines.Size(), 0u);
}

}  // namespace
}  // namespace quenmark
