#include "base/names.h"

#include <gtest/gtest.h>

#include "vm/name_index.h"

namespace quenmark {
namespace {

char ReferenceUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Every pair of bytes, at the start, the end and either side of a word
// boundary of names of several lengths: a word at a time must agree with the
// rule byte by byte, and names that compare the same must hash the same.
TEST(NamesTest, SameNameAndHashFollowTheRuleForEveryByte) {
    const TNameHash hash;
    for (size_t length : {1u, 3u, 5u, 8u, 9u, 12u, 15u, 16u, 17u}) {
        for (size_t place : {size_t{0}, size_t{4}, size_t{7}, size_t{8}, length - 1}) {
            if (place >= length) continue;
            std::string a(length, 'q');
            std::string b(length, 'Q');
            for (int x = 0; x < 256; ++x) {
                for (int y = 0; y < 256; ++y) {
                    a[place] = static_cast<char>(x);
                    b[place] = static_cast<char>(y);
                    const bool same = ReferenceUpper(a[place]) == ReferenceUpper(b[place]);
                    ASSERT_EQ(SameName(a, b), same) << length << " " << place << " " << x << " " << y;
                    if (same) {
                        ASSERT_EQ(hash(a), hash(b)) << length << " " << place << " " << x;
                    }
                }
            }
        }
    }
}

TEST(NamesTest, NamesOfDifferentLengthsDiffer) {
    EXPECT_FALSE(SameName("abc", std::string_view("abc\0", 4)));
    EXPECT_FALSE(SameName("abcdefgh", "ABCDEFGHI"));
    EXPECT_TRUE(SameName("", ""));
    EXPECT_EQ(UpperCase("ab\xC3\xA9z_1"), "AB\xC3\xA9Z_1");
}

}  // namespace
}  // namespace quenmark
