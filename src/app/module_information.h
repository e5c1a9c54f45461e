#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/number_separators.h"
#include "base/text_lookup.h"
#include "vm/vmx.h"

namespace quenmark {

class TCCLanguage;
class TVMModule;

// What a module offers about itself, as its entry points return it.
struct TModuleRecords {
    std::string FileName;
    const VMXModuleInfo* Info = nullptr;
    bool HasConstants = false;
    const VMXConstant* Constants = nullptr;
    int32_t ConstantCount = 0;
    bool HasFunctions = false;
    const VMXFunction* Functions = nullptr;
    int32_t FunctionCount = 0;
    // The separators of Real constants: those of the module's context.
    NumberSeparators Separators;
};

// The records of a loaded module, asked afresh.
TModuleRecords RecordsOf(const TVMModule& module);

// The labels of the information texts, English unless read from messages.
struct TInformationLabels {
    std::string ModuleKind = "VM-Extension Module.";
    std::string Information = "Information";
    std::string Name = "Name";
    std::string Type = "Type";
    std::string InterpreterLevel = "Supported Interpreter Level";
    std::string Author = "Author";
    std::string Copyright = "Copyright";
    std::string Comment = "Comment";
    std::string Constants = "Constants...";
    std::string NotFound = "Not found.";
    std::string Functions = "Functions...";
    std::string LanguageKind = "National Language Support Module.";
    std::string LanguageId = "LanguageID";
    std::string Files = "Files...";
    std::string Help = "Help";
    std::string Messages = "Messages";
    std::string Units = "Units";
};

// The labels in the language of the messages (QEN562 to QEN578); a label
// the messages lack stays English.
TInformationLabels InformationLabels(const MessageSource& messages);

// The options dialog's information about a module: its information record,
// then a line per constant and per function whose record has the size this
// build expects (others are skipped). A missing text reads as empty. Throws
// Exception when a record cannot be read (no information record, a table
// or a string value that is not there).
std::vector<std::string> ModuleInformationLines(const TModuleRecords& module,
                                                const TInformationLabels& labels = {});

// The options dialog's information about a language file: name, language
// identifier, comment and the three files it names.
std::vector<std::string> LanguageInformationLines(const TCCLanguage& language,
                                                  const TInformationLabels& labels = {});

// The lines as one text, each ended by carriage return and line feed.
std::string InformationText(const std::vector<std::string>& lines);

}  // namespace quenmark
