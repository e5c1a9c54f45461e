#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/color.h"

namespace quenmark {

// One colour scheme of the windows. A colour is a colour reference: red in
// bits 0-7, green in 8-15, blue in 16-23, and the palette-relative marker
// 0x02 in the high byte, which is kept and written back unchanged.
struct TColorScheme {
    std::string ColorName;
    TColor BaseColor = 0;  // window background and button faces
    TColor DarkColor = 0;  // borders, lines, title and button text, text while inactive
    TColor TextColor = 0;  // text while the application is active
    int32_t Icon = 0;        // index of the application and tray icon

    bool operator==(const TColorScheme&) const = default;
};

constexpr size_t ColorSchemeCount = 9;
// The row that new settings start with ("Custard").
constexpr size_t DefaultColorSchemeIndex = 1;

// The built-in schemes, in the order the options dialog lists them.
const std::array<TColorScheme, ColorSchemeCount>& ColorSchemes();

// The position the options dialog selects for a scheme name: the last row
// whose name equals it exactly, or 0 when none does.
size_t ColorSchemeIndexOf(std::string_view colorName);

}  // namespace quenmark
