#pragma once

#include <memory>
#include <string>
#include <vector>

#include "definitions/unit_group.h"

namespace quenmark {

// Reads the unit table of a unit definition file, given as all its lines:
//   "[Units]" "---" { "GroupName:" name  "BaseUnit:" name  { TAB name TAB factor } "---" }
// The last group may end at the end of the file. Throws Exception "Error"
// for a table that breaks the form, and the index error of a missing line
// where the file ends early or has no "[Units]" line.
std::vector<std::unique_ptr<TCCUnitGroup>> ReadUnitTable(const std::vector<std::string>& lines);

// The message of the index error for a line index the table lacks.
std::string ListIndexError(size_t index);

}  // namespace quenmark
