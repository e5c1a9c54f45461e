#pragma once

#include <string>
#include <vector>

#include "vm/variable_list.h"

namespace quenmark {

class TSettings;

// Writers that lay saved sections straight into a settings file, so that a
// test or a fuzzing harness can prepare what a later load reads. The
// program itself saves through the merge of its session.

// Replaces the "Variables" section with every variable that is not a
// constant, in table order, or with no lines when SaveVariables is off.
// When a value cannot be saved the section is left exactly as it was.
// Returns whether the section was written.
bool WriteVariablesSection(const TSettings& settings, const TVMVariableList& variables);

// Replaces the "History" section with the entries, or with no lines when
// SaveHistory is off. Returns whether the section was written.
bool WriteHistorySection(const TSettings& settings, const std::vector<std::string>& history);

}  // namespace quenmark
