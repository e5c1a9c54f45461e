#pragma once

#include <string>

namespace quenmark {

class TCCStringTokenizer;
class TCCUnitGroup;

// What the unit window's lower field shows when it cannot convert.
inline constexpr const char* ConversionFailedText = "---";

// Converts the number at the start of source from one unit of the group to
// another and returns the result in the general number form
// (RealToGeneralText) with the separators of the tokenizer's context. The
// first token must be a number literal; a second token is read so that a
// tokenizer error right after the number fails the conversion, but its kind
// does not matter. Every failure (no group, no number, a tokenizer error,
// an unknown unit, a zero factor, an overflow) gives ConversionFailedText.
std::string ConvertUnitText(TCCStringTokenizer& tokenizer, const TCCUnitGroup* group, const std::string& source,
                            const std::string& fromUnit, const std::string& toUnit);

}  // namespace quenmark
