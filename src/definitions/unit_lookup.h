#pragma once

#include <string>
#include <string_view>

#include "base/context.h"
#include "definitions/unit_group_list.h"

namespace quenmark {

// The names a unit answers to inside an expression, letter case as
// written: its name as the unit file writes it with the face and style
// tags left out ("square metre (m2)"), the part before the parentheses
// ("square metre") and the symbol inside them ("m2").
bool UnitAnswersTo(const TCCUnit& unit, std::string_view name);

// value in unit from expressed in unit to, both found by UnitAnswersTo in
// the first group of the list that holds both (so "gal" is the first
// gallon of the volumes). Throws EVMError with the context's messages:
// CVM123 naming a unit that no group holds, CVM122 naming both units with
// their groups when no group holds the two, CVM006 for a result beyond
// the range of a double.
double ConvertNamedUnits(const TCCUnitGroupList& groups, double value, std::string_view from, std::string_view to,
                         const TCCContext& context);

}  // namespace quenmark
