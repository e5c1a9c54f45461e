#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace quenmark {

// The zones of the borderless main window, numbered as the standard
// hit-test codes so that the rules read like those of a captioned window.
enum THitTest {
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
};

// Width of the sizing border and length of a corner along an edge.
inline constexpr int FrameBorder = 3;
inline constexpr int FrameCorner = 12;
// The size grip square in the lower right corner and the title row's height.
inline constexpr int FrameGrip = 10;
inline constexpr int FrameTitleRow = 17;
// Distance to a work-area edge, inclusive, within which a window snaps.
inline constexpr int SnapDistance = 20;

// The zone under a point given relative to the window's top-left corner.
THitTest MainWindowHitTest(QPoint position, QSize window);

// The window edges that a sizing zone moves; none for the caption and the
// client area.
Qt::Edges ResizeEdges(THitTest zone);

// The pointer shape that announces a zone.
Qt::CursorShape ZoneCursor(THitTest zone);

// What a position change may propose: the window's size, the screen and the
// work area, and whether snapping is on.
struct TPositionLimits {
    QSize Screen;
    QRect WorkArea;
    bool SnapAtEdge = true;
};

// The position a window of the given size actually takes for a proposed
// one: never starting beyond the screen's right or bottom end, and snapped
// to the work-area edges within SnapDistance when asked (a later rule wins).
QPoint ConstrainWindowPosition(QPoint proposed, QSize window, const TPositionLimits& limits);

// The geometry after dragging the given edges by delta from start, never
// smaller than minimum; the opposite edges stay where they are.
QRect ResizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum);

// The left end of the title text, centred in the gap between the control
// button's right end and the unit button's left end (halves rounded toward
// zero).
int TitleTextLeft(int controlRight, int unitLeft, int textWidth);

// The title text is written only on windows at least this wide.
inline constexpr int TitleTextMinimumWidth = 210;

}  // namespace quenmark
