#include "app/unit_conversion.h"

#include <exception>

#include "definitions/unit_group.h"
#include "expression/interpreter.h"
#include "vm/number_text.h"

namespace quenmark {

std::optional<double> UnitSourceNumber(TCCInterpreter& calculator, const std::string& source) {
    const size_t first = source.find_first_not_of(" \t");
    if (first == std::string::npos || source[first] == '@') return std::nullopt;
    try {
        const bool succeeded = calculator.ProcessLine(source);
        calculator.OutputLines().clear();
        if (!succeeded || !calculator.LastWasExpression()) return std::nullopt;
        const Variant& result = calculator.LastResult();
        if (result.IsInteger()) return static_cast<double>(result.AsInteger());
        if (result.IsReal()) return result.AsReal();
    } catch (const std::exception&) {
        calculator.OutputLines().clear();
    }
    return std::nullopt;
}

std::string ConvertUnitText(TCCInterpreter& calculator, const TCCUnitGroup* group, const std::string& source,
                            const std::string& fromUnit, const std::string& toUnit) {
    if (!group) return ConversionFailedText;
    const std::optional<double> number = UnitSourceNumber(calculator, source);
    if (!number) return ConversionFailedText;
    try {
        return RealToGeneralText(group->Convert(*number, fromUnit, toUnit), calculator.Context().Separators());
    } catch (const std::exception&) {
        return ConversionFailedText;
    }
}

}  // namespace quenmark
