// Text as a sequence of characters: each code point of valid UTF-8 is one
// character, and so is each byte that is not part of a valid sequence.
// Slices never split a sequence.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace textmodule {

// The number of characters of text.
size_t CharacterCount(std::string_view text);

// The bytes of at most `count` characters of text, from the character
// `first` (counted from 0); empty from the end of the text on.
std::string_view CharacterSlice(std::string_view text, size_t first, size_t count);

// The last `count` characters of text (all of it when it has fewer).
std::string_view LastCharacters(std::string_view text, size_t count);

// Text with every letter replaced by its simple upper-case or lower-case
// mapping (one code point for one, so "ß" stays); bytes outside valid
// sequences stay as they are.
std::string ToUpperCase(std::string_view text);
std::string ToLowerCase(std::string_view text);

}  // namespace textmodule
