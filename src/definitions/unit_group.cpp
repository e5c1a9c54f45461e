#include "definitions/unit_group.h"

#include <cmath>

#include "base/exception.h"

namespace quenmark {

namespace {
[[noreturn]] void FailConversion() { throw Exception("Error"); }
}  // namespace

void TCCUnitGroup::SetBaseUnit(std::unique_ptr<TCCUnit> unit) {
    FBaseUnit = unit.get();
    Add(std::move(unit));
}

void TCCUnitGroup::Add(std::unique_ptr<TCCUnit> unit) { FUnits.push_back(std::move(unit)); }

TCCUnit* TCCUnitGroup::FindUnit(std::string_view name) const {
    for (const auto& unit : FUnits)
        if (unit->Name == name) return unit.get();
    return nullptr;
}

double TCCUnitGroup::Convert(double value, std::string_view from, std::string_view to) const {
    const TCCUnit* fromUnit = FindUnit(from);
    const TCCUnit* toUnit = FindUnit(to);
    if (!fromUnit || !toUnit || toUnit->Factor == 0) FailConversion();
    const double ratio = static_cast<double>(static_cast<long double>(fromUnit->Factor) / toUnit->Factor);
    const double result = value * ratio;
    if (!std::isfinite(result)) FailConversion();
    return result;
}

}  // namespace quenmark
