#include "app/module_information.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "definitions/language.h"
#include "base/exception.h"
#include "vm/number_text.h"
#include "vm/vm_module.h"

namespace quenmark {

namespace {

[[noreturn]] void FailUnreadable() { throw Exception("The module's information cannot be read."); }

// A text of a record; a missing one reads as empty.
std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// "  Label : value", a line of the information part.
std::string Field(const std::string& label, const std::string& value) { return "  " + label + " : " + value; }

// Record i of a table of packed records, read at the stride of this build's
// record size; only records whose Size field says that size are taken.
template <typename Record>
bool ReadRecord(const Record* table, int32_t index, Record& record) {
    const char* address = reinterpret_cast<const char*>(table) + static_cast<size_t>(index) * sizeof(Record);
    int32_t size = 0;
    std::memcpy(&size, address, sizeof size);
    if (size != static_cast<int32_t>(sizeof(Record))) return false;
    std::memcpy(&record, address, sizeof(Record));
    return true;
}

std::string ConstantValueText(const VMXConstant& constant, const NumberSeparators& separators) {
    const VMXValue& value = constant.Value;
    switch (value.ValueType) {
    case vmxInteger: return std::to_string(value.IntValue) + " : " + Text(constant.Description);
    case vmxReal: return RealToGeneralText(value.RealValue, separators) + " : " + Text(constant.Description);
    case vmxString: {
        std::string text;
        if (value.StrLength > 0) {
            if (!value.StrValue) FailUnreadable();
            text.assign(value.StrValue, static_cast<size_t>(value.StrLength));
        }
        return "\"" + text + "\" : " + Text(constant.Description);
    }
    default: return "Invalid value";
    }
}

void AddConstants(const TModuleRecords& module, const TInformationLabels& labels, std::vector<std::string>& lines) {
    lines.push_back(labels.Constants);
    if (!module.HasConstants) {
        lines.push_back("  " + labels.NotFound);
        lines.push_back("");
        return;
    }
    if (module.ConstantCount > 0 && !module.Constants) FailUnreadable();
    for (int32_t i = 0; i < module.ConstantCount; ++i) {
        VMXConstant constant;
        if (!ReadRecord(module.Constants, i, constant)) continue;
        lines.push_back("  " + Text(constant.Name) + " = " + ConstantValueText(constant, module.Separators));
    }
    lines.push_back("");
}

void AddFunctions(const TModuleRecords& module, const TInformationLabels& labels, std::vector<std::string>& lines) {
    lines.push_back(labels.Functions);
    if (!module.HasFunctions) {
        lines.push_back("  " + labels.NotFound);
        return;
    }
    if (module.FunctionCount > 0 && !module.Functions) FailUnreadable();
    for (int32_t i = 0; i < module.FunctionCount; ++i) {
        VMXFunction function;
        if (!ReadRecord(module.Functions, i, function)) continue;
        lines.push_back("  " + Text(function.Name) + " : " + Text(function.Description));
    }
    lines.push_back("");
}

std::string LanguageIdText(int32_t langID) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(langID));
    return text;
}

}  // namespace

TModuleRecords RecordsOf(const TVMModule& module) {
    TModuleRecords records;
    records.FileName = module.FileName();
    records.Separators = module.Context().Separators();
    records.Info = module.ModuleInfo();
    records.HasConstants = module.HasConstants();
    if (records.HasConstants) {
        records.Constants = module.Constants();
        records.ConstantCount = module.ConstantCount();
    }
    records.HasFunctions = module.HasFunctions();
    if (records.HasFunctions) {
        records.Functions = module.Functions();
        records.FunctionCount = module.FunctionCount();
    }
    return records;
}

TInformationLabels InformationLabels(const MessageSource& messages) {
    TInformationLabels labels;
    const auto read = [&messages](const char* code, std::string& label) {
        if (std::optional<std::string> text = messages.Text(code)) label = std::move(*text);
    };
    read("QEN562", labels.ModuleKind);
    read("QEN563", labels.Information);
    read("QEN564", labels.Name);
    read("QEN565", labels.Type);
    read("QEN566", labels.InterpreterLevel);
    read("QEN567", labels.Author);
    read("QEN568", labels.Copyright);
    read("QEN569", labels.Comment);
    read("QEN570", labels.Constants);
    read("QEN571", labels.NotFound);
    read("QEN572", labels.Functions);
    read("QEN573", labels.LanguageKind);
    read("QEN574", labels.LanguageId);
    read("QEN575", labels.Files);
    read("QEN576", labels.Help);
    read("QEN577", labels.Messages);
    read("QEN578", labels.Units);
    return labels;
}

std::vector<std::string> ModuleInformationLines(const TModuleRecords& module, const TInformationLabels& labels) {
    const VMXModuleInfo* info = module.Info;
    if (!info) FailUnreadable();
    std::vector<std::string> lines{module.FileName,
                                   "  " + labels.ModuleKind,
                                   "",
                                   labels.Information,
                                   Field(labels.Name, Text(info->Name)),
                                   Field(labels.Type, Text(info->ModuleType)),
                                   Field(labels.InterpreterLevel, Text(info->InterpreterLevel)),
                                   Field(labels.Author, Text(info->Author)),
                                   Field(labels.Copyright, Text(info->Copyright)),
                                   Field(labels.Comment, Text(info->Comment)),
                                   ""};
    AddConstants(module, labels, lines);
    AddFunctions(module, labels, lines);
    return lines;
}

std::vector<std::string> LanguageInformationLines(const TCCLanguage& language, const TInformationLabels& labels) {
    return {language.FileName(),
            "  " + labels.LanguageKind,
            "",
            labels.Information,
            Field(labels.Name, language.Language()),
            Field(labels.LanguageId, "0x" + LanguageIdText(language.LangID())),
            Field(labels.Comment, language.Comment()),
            "",
            labels.Files,
            Field(labels.Help, language.HelpFileName()),
            Field(labels.Messages, language.MessageFileName()),
            Field(labels.Units, language.UnitFileName()),
            ""};
}

std::string InformationText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace quenmark
