#pragma once

#include <QPoint>

class QPainter;
class QWidget;

namespace quenmark {

struct TColorScheme;
class TSettings;

// Drawing and behaviour shared by the calculator's borderless windows.
// Colours come from the scheme, switches from the settings; no helper keeps
// state of its own.

// The frame: the whole window filled with BaseColor, a one-pixel DarkColor
// border, the title stripes at y = 4, 7, 10 and 13 when active, and the
// separator at y = 17.
void PaintFrame(QPainter& painter, int width, int height, const TColorScheme& colors, bool active);
// A DarkColor line from 2,y to width - 2,y.
void PaintSeparator(QPainter& painter, int width, int y, const TColorScheme& colors);
// The grip triangle in the lower right corner, only when active.
void PaintSizeGrip(QPainter& painter, int width, int height, const TColorScheme& colors, bool active);

// Window opacity from 0 (invisible) to 255 (opaque and no longer layered).
void SetAlpha(QWidget& window, int alpha);
// A layered window is one drawn with an opacity below 255; switching the
// layering off makes the window opaque again, switching it on alone keeps
// the opacity it has.
void SetLayered(QWidget& window, bool on);
bool IsLayered(const QWidget& window);

// The rotating-outline effect between the origin (a screen point) and the
// window, towards the window when showing, away from it when hiding. Does
// nothing when the effect is switched off or the application is ending.
// Blocks for about a quarter of a second without processing events; drawn
// on a shaped overlay (X11), not drawn where no such overlay can be shown.
void AnimateOutline(QWidget& window, QPoint origin, bool showing, const TSettings& settings);

// Whether the application is ending: its event loop has returned or the
// application object is going away (also when there is none).
bool IsApplicationEnding();

// Whether the window counts as active: the application is active and the
// window is its active window.
bool IsWindowActive(const QWidget& window);

// A window owned by another (a window with a parent, which the desktop keeps
// above its owner) also stays above other programs' windows while its owner
// does, so that it never opens under an always-on-top owner. Nothing for a
// window without an owner.
void KeepAboveOwner(QWidget& window);

}  // namespace quenmark
