#pragma once

#include <optional>
#include <vector>

namespace quenmark {

// A rectangle in the desktop's coordinates (device-independent pixels).
struct TScreenRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TScreenRect&) const = default;
};

// How much of a title bar must lie on one screen's available area for the
// window to be reachable: its full height and this width (or the window's
// whole width, when narrower).
inline constexpr int TitleBarGripWidth = 48;

// Whether the top titleHeight rows of the window lie on one of the areas
// far enough to be grabbed.
bool TitleBarOnScreens(const TScreenRect& window, int titleHeight, const std::vector<TScreenRect>& areas);

// Where a window goes: where it is when its title bar lies on one of the
// available areas (the primary screen's first); otherwise at preferred,
// when the title bar lies on an area there; otherwise at the bottom right
// of the primary screen's area, its size cut to that area. Without any
// area the window stays where it is.
TScreenRect PlaceOnScreens(const TScreenRect& window, int titleHeight, const std::vector<TScreenRect>& areas,
                           std::optional<TScreenRect> preferred = std::nullopt);

}  // namespace quenmark
