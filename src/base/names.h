#pragma once

#include <string>
#include <string_view>

namespace quenmark {

// Names compare after turning "a" to "z" into capitals; every other byte,
// including letters above 127, stays as it is.
std::string UpperCase(std::string_view text);
bool SameName(std::string_view a, std::string_view b);

}  // namespace quenmark
