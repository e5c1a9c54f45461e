#include "app/hex_codec.h"

#include <array>
#include <bit>
#include <cstring>

#include "base/exception.h"

namespace quenmark {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// The two digits of every byte value, one after another.
constexpr std::array<char, 512> DigitPairs = [] {
    std::array<char, 512> pairs{};
    for (size_t value = 0; value < 256; ++value) {
        pairs[2 * value] = HexDigits[value >> 4];
        pairs[2 * value + 1] = HexDigits[value & 0x0F];
    }
    return pairs;
}();

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw EConvertError();
}

// The digits are put together first and appended in one step.
void EncodeLittleEndian(uint64_t bits, int byteCount, std::string& out) {
    char digits[16];
    const auto count = static_cast<size_t>(byteCount);
    EncodeBytes(std::string_view(LittleEndianBytes(bits).data(), count), digits);
    out.append(digits, count * 2);
}

uint64_t DecodeLittleEndian(std::string_view& digits, int byteCount) {
    if (digits.size() < static_cast<size_t>(byteCount) * 2) throw EConvertError();
    std::string_view rest = digits;
    uint64_t bits = 0;
    for (int i = 0; i < byteCount; ++i) bits |= uint64_t{DecodeByte(rest)} << (8 * i);
    digits = rest;
    return bits;
}

}  // namespace

void EncodeByte(uint8_t value, std::string& out) {
    const char digits[2] = {HexDigits[value >> 4], HexDigits[value & 0x0F]};
    out.append(digits, 2);
}

void EncodeInt32(int32_t value, std::string& out) { EncodeLittleEndian(static_cast<uint32_t>(value), 4, out); }

void EncodeReal(double value, std::string& out) { EncodeLittleEndian(std::bit_cast<uint64_t>(value), 8, out); }

void EncodeString(std::string_view text, std::string& out) {
    EncodeInt32(static_cast<int32_t>(text.size()), out);
    const size_t at = out.size();
    out.resize(at + text.size() * 2);
    EncodeBytes(text, out.data() + at);
}

char* EncodeBytes(std::string_view bytes, char* out) {
    for (char c : bytes) {
        std::memcpy(out, DigitPairs.data() + 2 * static_cast<uint8_t>(c), 2);
        out += 2;
    }
    return out;
}

std::array<char, 8> LittleEndianBytes(uint64_t bits) {
    std::array<char, 8> bytes{};
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes.data(), &bits, sizeof bits);
    } else {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(static_cast<uint8_t>(bits >> (8 * i)));
    }
    return bytes;
}

uint8_t DecodeByte(std::string_view& digits) {
    if (digits.size() < 2) throw EConvertError();
    const int value = DigitValue(digits[0]) * 16 + DigitValue(digits[1]);
    digits.remove_prefix(2);
    return static_cast<uint8_t>(value);
}

int32_t DecodeInt32(std::string_view& digits) {
    return static_cast<int32_t>(static_cast<uint32_t>(DecodeLittleEndian(digits, 4)));
}

double DecodeReal(std::string_view& digits) { return std::bit_cast<double>(DecodeLittleEndian(digits, 8)); }

std::string DecodeString(std::string_view& digits) {
    std::string_view rest = digits;
    const int32_t length = DecodeInt32(rest);
    std::string text;
    if (length > 0) {
        const size_t count = static_cast<size_t>(length);
        if (rest.size() / 2 < count) throw EConvertError();
        text.reserve(count);
        for (size_t i = 0; i < count; ++i) text += static_cast<char>(DecodeByte(rest));
    }
    digits = rest;
    return text;
}

}  // namespace quenmark
