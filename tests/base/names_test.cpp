#include "base/names.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>

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

// Random appends and removals against the rule itself, the first entry of
// the name in table order: the table grows, names collide and share runs of
// slots, and removals close gaps, also in runs that wrap past the last slot.
TEST(NamesTest, IndexFindsTheEarliestEntryThroughAddsAndRemovals) {
    struct Entry {
        std::string UpperName;
    };
    TNameIndex<Entry>::TItems items;
    TNameIndex<Entry> index;
    std::mt19937 random(7);
    constexpr unsigned NameCount = 2000;
    const auto nameOf = [](unsigned n) { return "N" + std::to_string(n); };
    for (int step = 0; step < 100000; ++step) {
        if (items.empty() || random() % 2 != 0) {
            items.push_back(std::make_unique<Entry>(Entry{nameOf(static_cast<unsigned>(random() % NameCount))}));
            index.Added(*items.back());
        } else {
            const size_t at = random() % items.size();
            index.Removing(*items[at], items);
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (step % 500 != 0) continue;
        std::map<std::string, const Entry*> earliest;
        for (const auto& item : items) earliest.try_emplace(item->UpperName, item.get());
        for (unsigned n = 0; n < NameCount; ++n) {
            const std::string name = nameOf(n);
            const auto found = earliest.find(name);
            ASSERT_EQ(index.Find(name), found == earliest.end() ? nullptr : found->second) << "step " << step << ", " << name;
        }
    }
}

}  // namespace
}  // namespace quenmark
