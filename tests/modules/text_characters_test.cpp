// The string functions of text.vmx count and cut by characters: a code point
// of valid UTF-8, or one byte outside a valid sequence. A result never holds
// part of a sequence, and UPPER and LOWER map letters by Unicode's simple
// case mapping. One table per function over ASCII, two-, three- and
// four-byte characters, invalid bytes and empty texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../vm/shipped_library.h"

namespace quenmark {
namespace {

using testing::IntegerRecord;

// Characters of each width, and bytes that belong to no valid sequence.
const std::string TwoByte = "\xC3\xA9";            // é
const std::string ThreeByte = "\xE2\x82\xAC";      // €
const std::string FourByte = "\xF0\x9F\x98\x80";   // 😀
const std::string LoneContinuation = "\x80";
const std::string CutSequence = "\xE2\x82";        // the first two bytes of €: two characters
const std::string Overlong = "\xC0\xAF";           // "/" written in two bytes: two characters
const std::string Surrogate = "\xED\xA0\x80";      // U+D800: three characters
const std::string BeyondUnicode = "\xF4\x90\x80\x80";  // above U+10FFFF: four characters

VMXValue StringRecord(const std::string& text) {
    VMXValue record{};
    record.ValueType = vmxString;
    record.StrValue = const_cast<char*>(text.data());
    record.StrLength = static_cast<int32_t>(text.size());
    record.StrSize = static_cast<int32_t>(text.size() + 1);
    return record;
}

class TextCharactersTest : public ::testing::Test {
protected:
    std::string Text(const char* name, std::vector<VMXValue> args) const {
        VMXValue result;
        EXPECT_EQ(text.Call(name, std::move(args), result), vmxSuccess) << name;
        if (result.ValueType != vmxString) return "(not a string)";
        return std::string(result.StrValue, static_cast<size_t>(result.StrLength));
    }

    const testing::ShippedLibrary text{"text.vmx"};
};

struct LengthRow {
    std::string text;
    int32_t length;
};

TEST_F(TextCharactersTest, LenCountsCharacters) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<LengthRow> rows = {
        {"", 0},
        {"hello", 5},
        {"h" + TwoByte + "llo", 5},
        {ThreeByte + "12", 3},
        {FourByte, 1},
        {TwoByte + ThreeByte + FourByte, 3},
        {LoneContinuation, 1},
        {"a" + CutSequence + "b", 4},
        {Overlong, 2},
        {Surrogate, 3},
        {BeyondUnicode, 4},
        {"\xC3", 1},
        {TwoByte + "\xC3", 2},
    };
    for (const LengthRow& row : rows) {
        VMXValue result;
        ASSERT_EQ(text.Call("LEN", {StringRecord(row.text)}, result), vmxSuccess) << row.text;
        EXPECT_EQ(result.ValueType, vmxInteger);
        EXPECT_EQ(testing::NumberOf(result), row.length) << row.text;
    }
}

struct CutRow {
    std::string text;
    int32_t count;
    std::string expected;
};

TEST_F(TextCharactersTest, LeftTakesWholeCharacters) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<CutRow> rows = {
        {"", 3, ""},
        {"hello", 2, "he"},
        {"h" + TwoByte + "llo", 2, "h" + TwoByte},
        {TwoByte + TwoByte, 1, TwoByte},
        {ThreeByte + "x", 1, ThreeByte},
        {FourByte + FourByte, 1, FourByte},
        {FourByte, 0, ""},
        {FourByte, 5, FourByte},
        {CutSequence + "a", 1, "\xE2"},
        {LoneContinuation + TwoByte, 2, LoneContinuation + TwoByte},
    };
    for (const CutRow& row : rows)
        EXPECT_EQ(Text("LEFT", {StringRecord(row.text), IntegerRecord(row.count)}), row.expected) << row.text;
}

TEST_F(TextCharactersTest, RightTakesWholeCharacters) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<CutRow> rows = {
        {"", 3, ""},
        {"hello", 3, "llo"},
        {"h" + TwoByte + "llo", 4, TwoByte + "llo"},
        {"x" + ThreeByte, 1, ThreeByte},
        {"a" + FourByte, 1, FourByte},
        {FourByte, 0, ""},
        {FourByte + "a", 9, FourByte + "a"},
        {"a" + CutSequence, 1, "\x82"},
        {TwoByte + LoneContinuation, 2, TwoByte + LoneContinuation},
    };
    for (const CutRow& row : rows)
        EXPECT_EQ(Text("RIGHT", {StringRecord(row.text), IntegerRecord(row.count)}), row.expected) << row.text;
}

struct MidRow {
    std::string text;
    int32_t start;
    int32_t count;
    std::string expected;
};

TEST_F(TextCharactersTest, MidTakesWholeCharacters) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<MidRow> rows = {
        {"", 1, 2, ""},
        {"hello", 2, 3, "ell"},
        {"h" + TwoByte + "llo", 2, 1, TwoByte},
        {"h" + TwoByte + "llo", 3, 2, "ll"},
        {"a" + ThreeByte + "b", 2, 2, ThreeByte + "b"},
        {FourByte + FourByte + "z", 2, 1, FourByte},
        {FourByte, 2, 1, ""},
        {FourByte, 1, 0, ""},
        {"a" + CutSequence + "b", 3, 2, "\x82" "b"},
        {Surrogate, 2, 1, "\xA0"},
        {TwoByte + "x", 1, 100, TwoByte + "x"},
    };
    for (const MidRow& row : rows) {
        EXPECT_EQ(Text("MID", {StringRecord(row.text), IntegerRecord(row.start), IntegerRecord(row.count)}),
                  row.expected)
            << row.text << " " << row.start << " " << row.count;
    }
}

struct CaseRow {
    std::string text;
    std::string expected;
};

TEST_F(TextCharactersTest, UpperMapsEveryLetter) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<CaseRow> rows = {
        {"", ""},
        {"abc xyz 123", "ABC XYZ 123"},
        {"stra\xC3\x9F" "e", "STRA\xC3\x9F" "E"},          // ß has no one-letter capital
        {"h" + TwoByte + "llo", "H\xC3\x89LLO"},            // é to É
        {"\xCE\xB1\xCF\x89", "\xCE\x91\xCE\xA9"},           // Greek αω to ΑΩ
        {"\xD0\xB6", "\xD0\x96"},                           // Cyrillic ж to Ж
        {"\xE1\xB8\x81", "\xE1\xB8\x80"},                   // three bytes: ḁ to Ḁ
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\x80"},           // four bytes: Deseret 𐐨 to 𐐀
        {ThreeByte + FourByte, ThreeByte + FourByte},       // no case
        {"a" + CutSequence + "b" + LoneContinuation, "A" + CutSequence + "B" + LoneContinuation},
        {Overlong + "z", Overlong + "Z"},
    };
    for (const CaseRow& row : rows) EXPECT_EQ(Text("UPPER", {StringRecord(row.text)}), row.expected) << row.text;
}

TEST_F(TextCharactersTest, LowerMapsEveryLetter) {
    ASSERT_TRUE(text.IsOpen());
    const std::vector<CaseRow> rows = {
        {"", ""},
        {"ABC xyz 123", "abc xyz 123"},
        {"STRA\xC3\x9F" "E", "stra\xC3\x9F" "e"},
        {"H\xC3\x89LLO", "h" + TwoByte + "llo"},
        {"\xCE\x91\xCE\xA9", "\xCE\xB1\xCF\x89"},
        {"\xD0\x96", "\xD0\xB6"},
        {"\xE1\xBA\x9E", "\xC3\x9F"},                       // capital ẞ to ß: three bytes to two
        {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},
        {ThreeByte + FourByte, ThreeByte + FourByte},
        {"A" + CutSequence + "B" + LoneContinuation, "a" + CutSequence + "b" + LoneContinuation},
        {Surrogate + "Q", Surrogate + "q"},
    };
    for (const CaseRow& row : rows) EXPECT_EQ(Text("LOWER", {StringRecord(row.text)}), row.expected) << row.text;
}

}  // namespace
}  // namespace quenmark
