#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vm/variable_list.h"

namespace quenmark {

class TSettings;

// The user's variables in the "Variables" section of the settings file, one
// line each: ";" and the hex digits of the name, the attribute count 3, the
// value's type tag (1 integer, 2 real, 3 string), IsConstant, IsProtected
// and the value.

constexpr const char* VariablesSection = "Variables";

// The saved line of a variable. Throws Exception("Invalid variant type.")
// for a value that is not an Integer, Real or String.
std::string EncodeVariableLine(const TVMVariable& variable);
// The same appended to out; out is unchanged when it throws.
void AppendVariableLine(const TVMVariable& variable, std::string& out);

// The variable of a saved line. Throws an Exception for a damaged line: one
// without the leading ";", a character that is not a capital hex digit, a
// line too short for its lengths or an unknown type. Attributes beyond the
// three known ones and digits after the value are ignored. A string value
// is restored whole.
std::unique_ptr<TVMVariable> DecodeVariableLine(std::string_view line);

// Appends the saved variables of a valid settings file to the table, each
// damaged line skipped on its own. Existing variables of the same name are
// not looked for.
void ReadVariablesSection(const TSettings& settings, TVMVariableList& variables);

}  // namespace quenmark
