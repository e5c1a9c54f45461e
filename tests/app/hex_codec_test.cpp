#include "app/hex_codec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>

#include "base/exception.h"

namespace quenmark {
namespace {

template <typename Encoder, typename Value>
std::string Encoded(Encoder encode, Value value) {
    std::string out;
    encode(value, out);
    return out;
}

TEST(HexCodecTest, EncodesWithCapitalDigitsHighFirstAndLowByteFirst) {
    EXPECT_EQ(Encoded(EncodeByte, uint8_t{0x00}), "00");
    EXPECT_EQ(Encoded(EncodeByte, uint8_t{0x0F}), "0F");
    EXPECT_EQ(Encoded(EncodeByte, uint8_t{0xAB}), "AB");
    EXPECT_EQ(Encoded(EncodeInt32, int32_t{5}), "05000000");
    EXPECT_EQ(Encoded(EncodeInt32, int32_t{0x12345678}), "78563412");
    EXPECT_EQ(Encoded(EncodeInt32, int32_t{-1}), "FFFFFFFF");
    EXPECT_EQ(Encoded(EncodeInt32, std::numeric_limits<int32_t>::min()), "00000080");
    EXPECT_EQ(Encoded(EncodeReal, 1.0), "000000000000F03F");
    EXPECT_EQ(Encoded(EncodeReal, -2.5), "00000000000004C0");
    EXPECT_EQ(Encoded(EncodeString, std::string_view("abc")), "03000000616263");
    EXPECT_EQ(Encoded(EncodeString, std::string_view("1+2")), "03000000312B32");
    EXPECT_EQ(Encoded(EncodeString, std::string_view("")), "00000000");
}

TEST(HexCodecTest, EncodersAppend) {
    std::string out = ";";
    EncodeByte(0x7F, out);
    EncodeInt32(1, out);
    EXPECT_EQ(out, ";7F01000000");
}

TEST(HexCodecTest, StringKeepsEveryByteIncludingZeroAndHighBytes) {
    const std::string text("a\0\xC3\xA9\xFF\r\n", 7);
    std::string digits;
    EncodeString(text, digits);
    EXPECT_EQ(digits, "070000006100C3A9FF0D0A");
    std::string_view rest = digits;
    EXPECT_EQ(DecodeString(rest), text);
    EXPECT_TRUE(rest.empty());
}

TEST(HexCodecTest, DecodersTakeTheirDigitsFromTheFront) {
    std::string_view digits = "7F0500000003000000414243FFFF";
    EXPECT_EQ(DecodeByte(digits), 0x7F);
    EXPECT_EQ(DecodeInt32(digits), 5);
    EXPECT_EQ(DecodeString(digits), "ABC");
    EXPECT_EQ(digits, "FFFF");
}

TEST(HexCodecTest, RealsRoundTripBitForBit) {
    const double values[] = {0.0,
                             -0.0,
                             1.0 / 3.0,
                             -1e308,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             std::bit_cast<double>(uint64_t{0x7FF8000000000123})};
    for (double value : values) {
        std::string digits;
        EncodeReal(value, digits);
        ASSERT_EQ(digits.size(), 16u);
        std::string_view rest = digits;
        EXPECT_EQ(std::bit_cast<uint64_t>(DecodeReal(rest)), std::bit_cast<uint64_t>(value)) << digits;
        EXPECT_TRUE(rest.empty());
    }
}

TEST(HexCodecTest, IntegersRoundTrip) {
    for (int32_t value : {0, 1, -1, 255, 256, 65535, -65536, std::numeric_limits<int32_t>::max(),
                          std::numeric_limits<int32_t>::min()}) {
        std::string digits;
        EncodeInt32(value, digits);
        std::string_view rest = digits;
        EXPECT_EQ(DecodeInt32(rest), value);
    }
}

TEST(HexCodecTest, NegativeStringLengthGivesEmptyString) {
    std::string_view digits = "FFFFFFFF4142";
    EXPECT_EQ(DecodeString(digits), "");
    EXPECT_EQ(digits, "4142");
}

struct DecodeFailure {
    const char* Behaviour;
    const char* Digits;
    std::function<void(std::string_view&)> Decode;
};

class HexCodecFailureTest : public ::testing::TestWithParam<DecodeFailure> {};

TEST_P(HexCodecFailureTest, FailsWithConversionErrorAndLeavesDigits) {
    const DecodeFailure& row = GetParam();
    std::string_view digits = row.Digits;
    EXPECT_THROW(row.Decode(digits), EConvertError) << row.Behaviour;
    EXPECT_EQ(digits, row.Digits) << row.Behaviour;
}

const auto decodeByte = [](std::string_view& d) { DecodeByte(d); };
const auto decodeInt32 = [](std::string_view& d) { DecodeInt32(d); };
const auto decodeReal = [](std::string_view& d) { DecodeReal(d); };
const auto decodeString = [](std::string_view& d) { DecodeString(d); };

INSTANTIATE_TEST_SUITE_P(
    Rows, HexCodecFailureTest,
    ::testing::Values(DecodeFailure{"ByteFromEmptyText", "", decodeByte},
                      DecodeFailure{"ByteFromOneDigit", "A", decodeByte},
                      DecodeFailure{"ByteWithSmallLetter", "ab", decodeByte},
                      DecodeFailure{"ByteWithSmallLetterSecond", "Ab", decodeByte},
                      DecodeFailure{"ByteWithLetterBeyondF", "G0", decodeByte},
                      DecodeFailure{"ByteWithBlank", " 1", decodeByte},
                      DecodeFailure{"ByteWithSign", "-1", decodeByte},
                      DecodeFailure{"Int32TooShort", "050000", decodeInt32},
                      DecodeFailure{"Int32WithBadLastDigit", "0500000x", decodeInt32},
                      DecodeFailure{"RealTooShort", "000000000000F0", decodeReal},
                      DecodeFailure{"StringShorterThanItsLength", "04000000414243", decodeString},
                      DecodeFailure{"StringWithHugeLength", "FFFFFF7F41", decodeString},
                      DecodeFailure{"StringWithSmallLetterInText", "020000004a4B", decodeString},
                      DecodeFailure{"StringWithoutLength", "0300", decodeString}),
    [](const auto& row) { return std::string(row.param.Behaviour); });

}  // namespace
}  // namespace quenmark
