#pragma once

#include <string>

namespace quenmark {

// The text as a string literal that the tokenizer reads back whole: in
// quotes, with every inner quote doubled.
std::string StringLiteral(const std::string& text);

}  // namespace quenmark
