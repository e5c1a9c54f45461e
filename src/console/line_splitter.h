#pragma once

#include <string>
#include <vector>

namespace quenmark {

// Splits a text at CR LF, a lone LF and a lone CR; a break at the very end
// gives no empty last line, and an empty text gives one empty line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace quenmark
