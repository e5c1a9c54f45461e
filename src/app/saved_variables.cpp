#include "app/saved_variables.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "app/hex_codec.h"
#include "app/settings.h"
#include "definitions/profile.h"
#include "base/exception.h"
#include "vm/vmx_value.h"

namespace quenmark {

namespace {

// Type tag, IsConstant and IsProtected.
constexpr int32_t AttributeCount = 3;

Variant DecodeValue(uint8_t type, std::string_view& digits) {
    switch (type) {
    case vmxInteger: return Variant(DecodeInt32(digits));
    case vmxReal: return Variant(DecodeReal(digits));
    case vmxString: return Variant(DecodeString(digits));
    default: throw EConvertError();
    }
}

}  // namespace

std::string EncodeVariableLine(const TVMVariable& variable) {
    std::string line;
    AppendVariableLine(variable, line);
    return line;
}

// The line is the digits of one run of bytes: they are put together first
// (on the stack unless a text is long), and the line's room is made once.
void AppendVariableLine(const TVMVariable& variable, std::string& line) {
    VMXValue record;
    std::memset(&record, 0, sizeof record);
    VariantToVMX(variable.Value, record);
    // The value: a number's bytes, or a text's length and then the text.
    std::array<char, 8> number{};
    size_t numberSize = 4;
    std::string_view text;
    switch (record.ValueType) {
    case vmxInteger: number = LittleEndianBytes(static_cast<uint32_t>(record.IntValue)); break;
    case vmxReal: {
        const double real = record.RealValue;  // the record is packed: no reference to its members
        number = LittleEndianBytes(std::bit_cast<uint64_t>(real));
        numberSize = 8;
        break;
    }
    case vmxString:
        text = std::string_view(record.StrValue, static_cast<size_t>(record.StrLength));
        number = LittleEndianBytes(static_cast<uint32_t>(text.size()));
        break;
    default: throw Exception("Invalid variant type.");
    }
    const std::string_view name = variable.Name;
    const char flags[3] = {static_cast<char>(record.ValueType), static_cast<char>(variable.IsConstant ? 1 : 0),
                           static_cast<char>(variable.IsProtected ? 1 : 0)};
    const size_t size = 4 + name.size() + 4 + sizeof flags + numberSize + text.size();
    char small[256];
    std::unique_ptr<char[]> large;
    if (size > sizeof small) large.reset(new char[size]);
    char* const bytes = large ? large.get() : small;
    char* at = bytes;
    const auto put = [&at](const char* data, size_t count) {
        if (count > 0) std::memcpy(at, data, count);
        at += count;
    };
    put(LittleEndianBytes(static_cast<uint32_t>(name.size())).data(), 4);
    put(name.data(), name.size());
    put(LittleEndianBytes(static_cast<uint32_t>(AttributeCount)).data(), 4);
    put(flags, sizeof flags);
    put(number.data(), numberSize);
    put(text.data(), text.size());
    const size_t start = line.size();
    line.resize(start + 1 + 2 * size);
    line[start] = ';';
    EncodeBytes({bytes, size}, line.data() + start + 1);
}

std::unique_ptr<TVMVariable> DecodeVariableLine(std::string_view line) {
    if (line.empty() || line.front() != ';') throw EConvertError();
    std::string_view digits = line.substr(1);
    std::string name = DecodeString(digits);
    const int32_t attributes = DecodeInt32(digits);
    uint8_t type = 0;
    uint8_t isConstant = 0;
    uint8_t isProtected = 0;
    if (attributes >= 1) type = DecodeByte(digits);
    if (attributes >= 2) isConstant = DecodeByte(digits);
    if (attributes >= 3) isProtected = DecodeByte(digits);
    Variant value = DecodeValue(type, digits);
    return std::make_unique<TVMVariable>(std::move(name), std::move(value), isConstant != 0, isProtected != 0);
}

void ReadVariablesSection(const TSettings& settings, TVMVariableList& variables) {
    if (!settings.IsSettingsFileValid()) return;
    // Each line is decoded where the file's copy holds it: the section is
    // never copied beside the variables it becomes.
    ForEachSectionLine(settings.Context(), settings.SourceFileName(), VariablesSection,
                       [&variables](std::string_view line) {
                           try {
                               variables.Add(DecodeVariableLine(line));
                           } catch (const Exception&) {
                               // a damaged line is skipped on its own
                           }
                       });
}

}  // namespace quenmark
