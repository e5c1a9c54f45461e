#include "definitions/profile_text.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {
namespace {

const std::string Long300(300, 'x');
const std::string Long255(255, 'x');

struct ReadRow {
    const char* behaviour;
    std::string contents;
    const char* section;
    const char* key;
    std::optional<std::string> expected;  // nothing: the key is not found
};

class ProfileReadTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ProfileReadTest, FindsTheValueAsTheReadersSeeIt) {
    const ReadRow& row = GetParam();
    const TProfileText text(row.contents);
    const std::string* value = text.Value(row.section, row.key);
    if (!row.expected) {
        EXPECT_EQ(value, nullptr) << row.behaviour << ": found " << (value ? *value : "");
    } else {
        ASSERT_NE(value, nullptr) << row.behaviour;
        EXPECT_EQ(*value, *row.expected) << row.behaviour;
    }
}

INSTANTIATE_TEST_SUITE_P(Syntax, ProfileReadTest, ::testing::Values(
    ReadRow{"key in its section", "[S]\nk=v\n", "S", "k", "v"},
    ReadRow{"section header in small letters serves a capitalised lookup", "[messages]\nA=1\n", "Messages", "A", "1"},
    ReadRow{"key Language found by LANGUAGE", "[S]\nLanguage=de\n", "S", "LANGUAGE", "de"},
    ReadRow{"key in capitals found in mixed case", "[S]\nLANGUAGE=de\n", "S", "Language", "de"},
    ReadRow{"bytes above 127 match only themselves", "[S]\n\xC3\xA4=1\n", "S", "\xC3\x84", std::nullopt},
    ReadRow{"blanks around key and value dropped", "[S]\n   k   =   v   \n", "S", "k", "v"},
    ReadRow{"tabs around key and value dropped", "[S]\n\tk\t=\tv\t\n", "S", "k", "v"},
    ReadRow{"blanks inside the value kept", "[S]\nk=a  b\n", "S", "k", "a  b"},
    ReadRow{"value may hold =", "[S]\nk=a=b\n", "S", "k", "a=b"},
    ReadRow{"empty value is a value", "[S]\nk=\n", "S", "k", ""},
    ReadRow{"double quotes removed", "[S]\nk=\" a b \"\n", "S", "k", " a b "},
    ReadRow{"single quotes removed", "[S]\nk='x'\n", "S", "k", "x"},
    ReadRow{"two quote characters give an empty value", "[S]\nk=\"\"\n", "S", "k", ""},
    ReadRow{"mismatched quotes kept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
    ReadRow{"a lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
    ReadRow{"only one outer pair removed", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
    ReadRow{"inner quotes kept", "[S]\nk=a\"b\"c\n", "S", "k", "a\"b\"c"},
    ReadRow{"first occurrence of a key counts", "[S]\nk=1\nK=2\n", "S", "k", "1"},
    ReadRow{"first occurrence of a section counts", "[S]\nk=1\n[T]\n[s]\nk=2\n", "S", "k", "1"},
    ReadRow{"keys of a repeated section are not seen", "[S]\nk=1\n[T]\n[S]\nj=2\n", "S", "j", std::nullopt},
    ReadRow{"comment line is no key", "[S]\n;k=1\n", "S", ";k", std::nullopt},
    ReadRow{"indented comment is no key", "[S]\n  ; k=1\n", "S", "; k", std::nullopt},
    ReadRow{"line without = is no key", "[S]\nk\n", "S", "k", std::nullopt},
    ReadRow{"key before the first section belongs to none", "k=1\n[S]\n", "S", "k", std::nullopt},
    ReadRow{"section line trimmed", "  [ S ]  \nk=v\n", "S", "k", "v"},
    ReadRow{"section name ends at the first ]", "[S]x]\nk=v\n", "S", "k", "v"},
    ReadRow{"key of another section not seen", "[S]\n[T]\nk=v\n", "S", "k", std::nullopt},
    ReadRow{"missing section", "[S]\nk=v\n", "X", "k", std::nullopt},
    ReadRow{"missing key", "[S]\nk=v\n", "S", "x", std::nullopt},
    ReadRow{"CR line ends", "[S]\rk=v\rj=w\r", "S", "j", "w"},
    ReadRow{"CR LF line ends", "[S]\r\nk=v\r\nj=w\r\n", "S", "j", "w"},
    ReadRow{"mixed line ends", "[S]\nk=v\r\nj=w\rm=x", "S", "m", "x"},
    ReadRow{"300 characters read as 255", "[S]\nk=" + Long300 + "\n", "S", "k", Long255},
    ReadRow{"255 characters read whole", "[S]\nk=" + Long255 + "\n", "S", "k", Long255},
    ReadRow{"quotes removed before the cut", "[S]\nk=\"" + Long300 + "\"\n", "S", "k", Long255},
    ReadRow{"cut never splits a UTF-8 character", "[S]\nk=" + std::string(254, 'a') + "\xC3\xA9zz\n", "S", "k",
            std::string(254, 'a')}
));

TEST(ProfileLinesTest, TrimmingRules) {
    EXPECT_EQ(TrimBlanks(" \t a b \t "), "a b");
    EXPECT_EQ(TrimBlanks("\x01 a"), "\x01 a");
    EXPECT_EQ(TrimControls("\x01\t a b \x1F"), "a b");
    EXPECT_EQ(TrimControls("\xC3\xA4"), "\xC3\xA4");
}

struct WriteRow {
    const char* behaviour;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class ProfileWriteTest : public ::testing::TestWithParam<WriteRow> {};

TEST_P(ProfileWriteTest, ChangesOnlyWhatItMust) {
    const WriteRow& row = GetParam();
    TProfileText text{std::string_view(row.before)};
    text.SetValue(row.section, row.key, row.value);
    EXPECT_EQ(text.Contents(), row.after) << row.behaviour;
    const std::string* stored = text.Value(row.section, row.key);
    ASSERT_NE(stored, nullptr) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Writers, ProfileWriteTest, ::testing::Values(
    WriteRow{"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
    WriteRow{"new section at the end", "[S]\r\na=1\r\n", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
    WriteRow{"new key after the last key line of its section", "[S]\r\na=1\r\n\r\n; note\r\n[T]\r\nb=2\r\n", "S",
             "c", "3", "[S]\r\na=1\r\nc=3\r\n\r\n; note\r\n[T]\r\nb=2\r\n"},
    WriteRow{"new key in a section without keys", "[S]\r\n[T]\r\n", "S", "k", "v", "[S]\r\nk=v\r\n[T]\r\n"},
    WriteRow{"value replaced in place, key spelling kept", "[S]\r\nLanguage=Old\r\nx=1\r\n", "S", "LANGUAGE",
             "New", "[S]\r\nLanguage=New\r\nx=1\r\n"},
    WriteRow{"replaced line loses its blanks", "[S]\r\n  k = old  \r\n", "S", "K", "new", "[S]\r\nk=new\r\n"},
    WriteRow{"existing section found in any letter case", "[others]\r\na=1\r\n", "Others", "b", "2",
             "[others]\r\na=1\r\nb=2\r\n"},
    WriteRow{"other lines kept as they were", "  ; head\r\n[S]\r\n   a = 1\r\n", "S", "b", "2",
             "  ; head\r\n[S]\r\n   a = 1\r\nb=2\r\n"},
    WriteRow{"LF file written with CR LF", "[S]\na=1\n", "S", "a", "2", "[S]\r\na=2\r\n"},
    WriteRow{"sections kept in place", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n", "B", "y", "9",
             "[A]\r\nx=1\r\n[B]\r\ny=9\r\n[C]\r\nz=3\r\n"},
    WriteRow{"line break in a value cannot add a line", "", "S", "k", "a\r\n[X]\nb", "[S]\r\nk=a  [X] b\r\n"},
    WriteRow{"byte-order mark read past and not written back", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a", "2",
             "[S]\r\na=2\r\n"},
    WriteRow{"every byte-order mark at the start read past", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a",
             "2", "[S]\r\na=2\r\n"}
));

// The index that writes keep up to date answers every read as the index of
// the same lines parsed afresh.
TEST(ProfileWriteTest, TheIndexKeptByWritesMatchesAFreshParse) {
    TProfileText text{std::string_view("; head\r\n[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n[S]\r\nz=9\r\n")};
    const std::vector<std::array<const char*, 3>> writes = {
        {"S", "c", "3"},     {"T", "d", "'4'"},  {"U", "e", "5"},   {"S", "a", " \"x\" "}, {"s", "F", "6"},
        {"U", "e", "7"},     {"V", " g", "8"},   {"S", "h=i", "9"}, {"W", "[k", "l]"},     {"S", "c", ""},
        {"T", ";m", "10"},   {"X]", "n", "11"},
    };
    std::vector<std::pair<std::string, std::string>> names;
    for (const auto& [section, key, value] : writes) {
        text.SetValue(section, key, value);
        names.emplace_back(section, key);
        const TProfileText fresh(text.Lines());
        for (const auto& [readSection, readKey] : names) {
            const std::string* kept = text.Value(readSection, readKey);
            const std::string* parsed = fresh.Value(readSection, readKey);
            ASSERT_EQ(kept == nullptr, parsed == nullptr) << readSection << "/" << readKey << " after " << key;
            if (kept) {
                EXPECT_EQ(*kept, *parsed) << readSection << "/" << readKey << " after " << key;
            }
        }
    }
}

}  // namespace
}  // namespace quenmark
