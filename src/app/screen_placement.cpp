#include "app/screen_placement.h"

#include <algorithm>

namespace quenmark {

namespace {

bool TitleBarOnArea(const TScreenRect& window, int titleHeight, const TScreenRect& area) {
    const int left = std::max(window.Left, area.Left);
    const int right = std::min(window.Left + window.Width, area.Left + area.Width);
    const int top = window.Top;
    const int bottom = window.Top + titleHeight;
    const bool fullHeight = top >= area.Top && bottom <= area.Top + area.Height;
    return fullHeight && right - left >= std::min(window.Width, TitleBarGripWidth);
}

}  // namespace

bool TitleBarOnScreens(const TScreenRect& window, int titleHeight, const std::vector<TScreenRect>& areas) {
    return std::any_of(areas.begin(), areas.end(),
                       [&](const TScreenRect& area) { return TitleBarOnArea(window, titleHeight, area); });
}

TScreenRect PlaceOnScreens(const TScreenRect& window, int titleHeight, const std::vector<TScreenRect>& areas,
                           std::optional<TScreenRect> preferred) {
    if (areas.empty() || TitleBarOnScreens(window, titleHeight, areas)) return window;
    if (preferred && TitleBarOnScreens(*preferred, titleHeight, areas)) return *preferred;
    const TScreenRect& primary = areas.front();
    TScreenRect placed;
    placed.Width = std::min(window.Width, primary.Width);
    placed.Height = std::min(window.Height, primary.Height);
    placed.Left = primary.Left + primary.Width - placed.Width;
    placed.Top = primary.Top + primary.Height - placed.Height;
    return placed;
}

}  // namespace quenmark
