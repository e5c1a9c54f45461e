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
    if (!fromUnit || !toUnit) FailConversion();
    return ConvertUnits(value, *fromUnit, *toUnit);
}

double ConvertUnits(double value, const TCCUnit& from, const TCCUnit& to) {
    if (to.Factor == 0) FailConversion();
    double result = 0;
    if (from.Offset == 0 && to.Offset == 0) {
        const double ratio = static_cast<double>(static_cast<long double>(from.Factor) / to.Factor);
        result = value * ratio;
    } else {
        // Through the base unit, in extended precision.
        const long double base = static_cast<long double>(value) * from.Factor + from.Offset;
        result = static_cast<double>((base - to.Offset) / to.Factor);
    }
    if (!std::isfinite(result)) FailConversion();
    return result;
}

}  // namespace quenmark
