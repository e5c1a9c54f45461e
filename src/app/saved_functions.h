#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_save.h"
#include "vm/user_function_list.h"

namespace quenmark {

class TCCInterpreter;
class TSettings;

// The user's functions in the "Functions" section of the settings file, one
// line each: the definition as typed, encoded as a history line is (";" and
// the hex digits of the text).

constexpr const char* FunctionsSection = "Functions";

std::string EncodeFunctionLine(const TVMUserFunction& function);
// The function name of a saved line in capitals; nothing for a damaged line.
std::optional<std::string> FunctionLineName(std::string_view line);

// Defines the saved functions of a valid settings file in the interpreter.
// A line that does not compile (a name a module now has, a damaged line)
// is left in the file, which keeps it, and gives one notice (INT187 with
// the definition and why it failed); the notices are returned.
std::vector<std::string> ReadFunctionsSection(const TSettings& settings, TCCInterpreter& interpreter);

// The section after a merge, by function name without regard to letter
// case: a name whose line differs between baseline and current was
// defined, redefined or deleted here, and its line in the file is replaced
// by the current one (or dropped); new names follow at the end. Lines of
// other names, and lines whose name cannot be read, stay as the file has them.
std::vector<std::string> MergeFunctionLines(const std::vector<std::string>& fileLines,
                                            const std::vector<std::string>& baseline,
                                            const std::vector<std::string>& current);

// What this copy changed in its functions since they were loaded or saved,
// merged into the section as the file has it now.
class TFunctionChanges {
public:
    void NoteSaved(const TVMUserFunctionList& functions);
    // Whether the functions changed since they were loaded or saved; when
    // they did not, the file's section is left as it is.
    bool Changed(const TVMUserFunctionList& functions) const { return FSavedAtChange != functions.Changes(); }
    // Reads the functions when it runs.
    TSectionMerge Merge(const TVMUserFunctionList& functions) const;
    // The same on a whole file, for a save that holds it.
    void MergeInto(TProfileText& file, const TVMUserFunctionList& functions) const;

private:
    std::vector<std::string> FSavedLines;
    std::optional<uint64_t> FSavedAtChange;
};

}  // namespace quenmark
