#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// What an empty text splits into: no line for files and joined module
// output, one empty line where every text shows as at least one line.
enum class EmptyText { NoLines, OneEmptyLine };

// Splits text into lines at CR LF, a lone LF and a lone CR. A line end at
// the very end of the text starts no further line.
std::vector<std::string> SplitLines(std::string_view text, EmptyText empty = EmptyText::NoLines);

}  // namespace quenmark
