#include "expression/string_literal.h"

namespace quenmark {

std::string StringLiteral(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        literal += c;
        if (c == '"') literal += '"';
    }
    return literal + "\"";
}

}  // namespace quenmark
