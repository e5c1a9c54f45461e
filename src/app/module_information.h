#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/number_separators.h"
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

// The options dialog's information about a module: its information record,
// then a line per constant and per function whose record has the size this
// build expects (others are skipped). A missing text reads as empty. Throws
// Exception when a record cannot be read (no information record, a table
// or a string value that is not there).
std::vector<std::string> ModuleInformationLines(const TModuleRecords& module);

// The options dialog's information about a language file: name, language
// identifier, comment and the three files it names.
std::vector<std::string> LanguageInformationLines(const TCCLanguage& language);

// The lines as one text, each ended by carriage return and line feed.
std::string InformationText(const std::vector<std::string>& lines);

}  // namespace quenmark
