#include "base/names.h"

namespace quenmark {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = Upper(c);
    return upper;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t at = 0; at < a.size(); at += 8)
        if (UpperNameWord(NameWord(a, at)) != UpperNameWord(NameWord(b, at))) return false;
    return true;
}

}  // namespace quenmark
