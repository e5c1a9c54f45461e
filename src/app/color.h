#pragma once

#include <cstdint>

namespace quenmark {

// A colour as the settings and the controls keep it: an explicit colour is
// 0x00BBGGRR (red in the low byte) and may carry the 0x02 "palette-relative"
// marker in its high byte; a system colour has the high bit set and names a
// role of the desktop's palette in its low byte.
using TColor = std::uint32_t;

constexpr TColor PaletteRelativeFlag = 0x02000000u;
constexpr TColor SystemColorFlag = 0x80000000u;

// System colours, resolved through the application's palette when drawn.
constexpr TColor clWindow = SystemColorFlag | 5u;
constexpr TColor clWindowFrame = SystemColorFlag | 6u;
constexpr TColor clWindowText = SystemColorFlag | 8u;
constexpr TColor clHighlight = SystemColorFlag | 13u;
constexpr TColor clHighlightText = SystemColorFlag | 14u;
constexpr TColor clBtnFace = SystemColorFlag | 15u;
constexpr TColor clBtnShadow = SystemColorFlag | 16u;
constexpr TColor clBtnText = SystemColorFlag | 18u;
constexpr TColor clBtnHighlight = SystemColorFlag | 20u;

constexpr TColor RGBColor(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

constexpr bool IsSystemColor(TColor color) { return (color & SystemColorFlag) != 0; }

}  // namespace quenmark
