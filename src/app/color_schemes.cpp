#include "app/color_schemes.h"

namespace quenmark {

const std::array<TColorScheme, ColorSchemeCount>& ColorSchemes() {
    static const std::array<TColorScheme, ColorSchemeCount> schemes = {{
        {"Snow", 0x02FFFFFF, 0x027F7F7F, 0x02000000, 0},
        {"Custard", 0x02C0FFFF, 0x02007F7F, 0x02000000, 1},
        {"Peach", 0x02FFD8FF, 0x02D85FD8, 0x02000000, 2},
        {"Mint", 0x02FFFFC0, 0x027F7F00, 0x02000000, 3},
        {"Melon", 0x02C0FFC0, 0x02007F00, 0x02000000, 4},
        {"Orange", 0x027FC0FF, 0x02005FC0, 0x02000000, 5},
        {"Blueberry", 0x02FFC0C0, 0x027F0000, 0x02000000, 6},
        {"Strawberry", 0x02C0C0FF, 0x0200007F, 0x02000000, 7},
        {"Mocha", 0x02000000, 0x027F7F7F, 0x02FFFFFF, 8},
    }};
    return schemes;
}

size_t ColorSchemeIndexOf(std::string_view colorName) {
    size_t selected = 0;
    for (size_t i = 0; i < ColorSchemeCount; ++i)
        if (ColorSchemes()[i].ColorName == colorName) selected = i;
    return selected;
}

}  // namespace quenmark
