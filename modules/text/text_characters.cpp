#include "text_characters.h"

#include <utf8proc.h>

namespace textmodule {

namespace {

struct Character {
    size_t size;     // bytes it takes
    int32_t point;   // its code point, or -1 for a byte outside a valid sequence
};

// The character at the start of a non-empty text.
Character FirstCharacter(std::string_view text) {
    utf8proc_int32_t point = -1;
    const auto size = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                       static_cast<utf8proc_ssize_t>(text.size()), &point);
    if (size <= 0 || point < 0) return {1, -1};
    return {static_cast<size_t>(size), point};
}

// The byte offset after `count` characters (the size of text when it has fewer).
size_t OffsetAfter(std::string_view text, size_t count) {
    size_t offset = 0;
    for (; count > 0 && offset < text.size(); --count) offset += FirstCharacter(text.substr(offset)).size;
    return offset;
}

template <typename Mapping>
std::string MapLetters(std::string_view text, Mapping mapping) {
    std::string mapped;
    mapped.reserve(text.size());
    while (!text.empty()) {
        const Character character = FirstCharacter(text);
        if (character.point < 0) {
            mapped += text.front();
        } else {
            utf8proc_uint8_t encoded[4];
            const auto size = utf8proc_encode_char(mapping(character.point), encoded);
            mapped.append(reinterpret_cast<const char*>(encoded), static_cast<size_t>(size));
        }
        text.remove_prefix(character.size);
    }
    return mapped;
}

}  // namespace

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t offset = 0; offset < text.size(); ++count) offset += FirstCharacter(text.substr(offset)).size;
    return count;
}

std::string_view CharacterSlice(std::string_view text, size_t first, size_t count) {
    text.remove_prefix(OffsetAfter(text, first));
    return text.substr(0, OffsetAfter(text, count));
}

std::string_view LastCharacters(std::string_view text, size_t count) {
    const size_t total = CharacterCount(text);
    return count >= total ? text : CharacterSlice(text, total - count, count);
}

// Unicode gives "ß" no simple capital; utf8proc maps it to the capital sharp
// s (U+1E9E) by a choice of its own, which the simple mapping leaves alone.
constexpr utf8proc_int32_t SmallSharpS = 0xDF;

std::string ToUpperCase(std::string_view text) {
    return MapLetters(text, [](utf8proc_int32_t point) { return point == SmallSharpS ? point : utf8proc_toupper(point); });
}

std::string ToLowerCase(std::string_view text) { return MapLetters(text, utf8proc_tolower); }

}  // namespace textmodule
