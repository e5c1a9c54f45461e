#include "app/saved_variables.h"

#include <cstring>
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

void EncodeValue(const VMXValue& record, std::string& out) {
    switch (record.ValueType) {
    case vmxInteger: EncodeInt32(record.IntValue, out); return;
    case vmxReal: EncodeReal(record.RealValue, out); return;
    case vmxString: EncodeString(std::string_view(record.StrValue, static_cast<size_t>(record.StrLength)), out); return;
    default: throw Exception("Invalid variant type.");
    }
}

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

void AppendVariableLine(const TVMVariable& variable, std::string& line) {
    VMXValue record;
    std::memset(&record, 0, sizeof record);
    VariantToVMX(variable.Value, record);
    const size_t start = line.size();
    try {
        line += ';';
        EncodeString(variable.Name, line);
        EncodeInt32(AttributeCount, line);
        EncodeByte(static_cast<uint8_t>(record.ValueType), line);
        EncodeByte(variable.IsConstant ? 1 : 0, line);
        EncodeByte(variable.IsProtected ? 1 : 0, line);
        EncodeValue(record, line);
    } catch (...) {
        line.resize(start);
        throw;
    }
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
    std::vector<std::string> lines;
    ReadSectionLines(settings.Context(), settings.SourceFileName(), VariablesSection, lines);
    for (const std::string& line : lines) {
        try {
            variables.Add(DecodeVariableLine(line));
        } catch (const Exception&) {
            // a damaged line is skipped on its own
        }
    }
}

bool WriteVariablesSection(const TSettings& settings, const TVMVariableList& variables) {
    std::vector<std::string> lines;
    try {
        if (settings.SaveVariables) {
            for (size_t i = 0; i < variables.Count(); ++i)
                if (!variables[i].IsConstant) lines.push_back(EncodeVariableLine(variables[i]));
        }
    } catch (const Exception&) {
        return false;
    }
    return WriteSectionLines(settings.Context(), settings.FileName(), VariablesSection, lines);
}

}  // namespace quenmark
