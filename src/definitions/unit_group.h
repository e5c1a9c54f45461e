#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/unit.h"

namespace quenmark {

// A group of proportional units (lengths, masses, ...) in file order; the
// first is the base unit with factor 1. The group owns its units.
class TCCUnitGroup {
public:
    explicit TCCUnitGroup(std::string name) : Name(std::move(name)) {}

    std::string Name;

    TCCUnit* BaseUnit() const { return FBaseUnit; }
    // Appends the unit and makes it the base unit.
    void SetBaseUnit(std::unique_ptr<TCCUnit> unit);
    void Add(std::unique_ptr<TCCUnit> unit);
    size_t Count() const { return FUnits.size(); }
    TCCUnit& Items(size_t index) const { return *FUnits.at(index); }

    // The first unit whose name equals name exactly; null when none does.
    TCCUnit* FindUnit(std::string_view name) const;
    // value in unit "from" expressed in unit "to": value times the ratio of
    // their factors. Throws Exception when a name is not in the group, the
    // target's factor is 0 or the result is not a finite number.
    // Units with an offset convert through the base unit.
    double Convert(double value, std::string_view from, std::string_view to) const;

private:
    std::vector<std::unique_ptr<TCCUnit>> FUnits;
    TCCUnit* FBaseUnit = nullptr;
};

// value in unit from expressed in unit to, as TCCUnitGroup::Convert.
double ConvertUnits(double value, const TCCUnit& from, const TCCUnit& to);

}  // namespace quenmark
