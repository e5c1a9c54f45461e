#pragma once

#include <optional>
#include <string>

namespace quenmark {

class TCCInterpreter;
class TCCUnitGroup;

// What the unit window's lower field shows when it cannot convert.
inline constexpr const char* ConversionFailedText = "---";

// The number the unit window's upper field stands for: the text worked out
// as one expression by the calculator (so "2*3" is 6). Nothing when the
// text is no complete expression, is an "@" command, fails as it runs, or
// gives no number. The calculator should be one of the window's own, so
// that a keystroke never disturbs the user's session.
std::optional<double> UnitSourceNumber(TCCInterpreter& calculator, const std::string& source);

// Converts the number of the source text (UnitSourceNumber) from one unit
// of the group to another and returns the result in the general number
// form (RealToGeneralText) with the separators of the calculator's
// context. Every failure (no group, no number, an unknown unit, a zero
// factor, an overflow) gives ConversionFailedText.
std::string ConvertUnitText(TCCInterpreter& calculator, const TCCUnitGroup* group, const std::string& source,
                            const std::string& fromUnit, const std::string& toUnit);

}  // namespace quenmark
