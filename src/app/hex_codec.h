#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quenmark {

// The payload of a saved line: bytes written as two hexadecimal digits each,
// high digit first, with the capitals "A" to "F". Multi-byte numbers are
// written least significant byte first, so a line reads the same on every
// machine.
//
// The encoders append to out. The decoders take their digits from the front
// of digits and remove them; they throw EConvertError on a character other
// than "0" to "9" and "A" to "F" (small letters included) and when the
// digits run out, and then leave digits as it was.

void EncodeByte(uint8_t value, std::string& out);
void EncodeInt32(int32_t value, std::string& out);
void EncodeReal(double value, std::string& out);
// The length in bytes as EncodeInt32, then every byte.
void EncodeString(std::string_view text, std::string& out);
// The digits of every byte, written to out, which has room for twice as
// many characters; returns the end. Allocates nothing, so a signal handler
// may use it.
char* EncodeBytes(std::string_view bytes, char* out);
// The bytes of bits, least significant first: the order in which every
// number is encoded (EncodeInt32 writes the first four).
std::array<char, 8> LittleEndianBytes(uint64_t bits);

uint8_t DecodeByte(std::string_view& digits);
int32_t DecodeInt32(std::string_view& digits);
double DecodeReal(std::string_view& digits);
// A negative length gives the empty string; a length beyond the remaining
// digits fails before anything is allocated.
std::string DecodeString(std::string_view& digits);

}  // namespace quenmark
