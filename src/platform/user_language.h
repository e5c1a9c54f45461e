#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenmark {

// The name of the locale that the user chose for messages: the first
// non-empty one of LC_ALL, LC_MESSAGES and LANG, such as "de_DE.UTF-8".
std::string UserMessagesLocaleName();

// The Windows language identifier of a locale name ("en_US" 1033, "de_DE"
// 1031, "ja_JP.UTF-8" 1041). A known language in an unlisted territory gives
// that language's main identifier; an unknown language, "C" and "POSIX"
// give 0.
int32_t LangIDFromLocaleName(std::string_view localeName);

// The language identifier of the user's messages locale.
int32_t UserDefaultLangID();

}  // namespace quenmark
