#include "ui/main_window_frame_rules.h"

#include <algorithm>
#include <cstdlib>

namespace quenmark {

namespace {

// A corner when the position along the edge is near either end.
THitTest EdgeZone(int along, int length, THitTest nearStart, THitTest middle, THitTest nearEnd) {
    if (along <= FrameCorner) return nearStart;
    if (along >= length - FrameCorner) return nearEnd;
    return middle;
}

bool Within(int value, int edge) { return std::abs(value - edge) <= SnapDistance; }

}  // namespace

THitTest MainWindowHitTest(QPoint position, QSize window) {
    const int x = position.x();
    const int y = position.y();
    const int width = window.width();
    const int height = window.height();
    if (x <= FrameBorder) return EdgeZone(y, height, HTTOPLEFT, HTLEFT, HTBOTTOMLEFT);
    if (x >= width - FrameBorder) return EdgeZone(y, height, HTTOPRIGHT, HTRIGHT, HTBOTTOMRIGHT);
    if (y <= FrameBorder) return EdgeZone(x, width, HTTOPLEFT, HTTOP, HTTOPRIGHT);
    if (y >= height - FrameBorder) return EdgeZone(x, width, HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT);
    if (x >= width - FrameGrip && y >= height - FrameGrip) return HTBOTTOMRIGHT;
    if (y <= FrameTitleRow) return HTCAPTION;
    return HTCLIENT;
}

Qt::Edges ResizeEdges(THitTest zone) {
    switch (zone) {
    case HTLEFT: return Qt::LeftEdge;
    case HTRIGHT: return Qt::RightEdge;
    case HTTOP: return Qt::TopEdge;
    case HTBOTTOM: return Qt::BottomEdge;
    case HTTOPLEFT: return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT: return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT: return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT: return Qt::BottomEdge | Qt::RightEdge;
    case HTCLIENT:
    case HTCAPTION: break;
    }
    return {};
}

Qt::CursorShape ZoneCursor(THitTest zone) {
    switch (zone) {
    case HTLEFT:
    case HTRIGHT: return Qt::SizeHorCursor;
    case HTTOP:
    case HTBOTTOM: return Qt::SizeVerCursor;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return Qt::SizeFDiagCursor;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return Qt::SizeBDiagCursor;
    case HTCLIENT:
    case HTCAPTION: break;
    }
    return Qt::ArrowCursor;
}

QPoint ConstrainWindowPosition(QPoint proposed, QSize window, const TPositionLimits& limits) {
    int x = proposed.x();
    int y = proposed.y();
    const int width = window.width();
    const int height = window.height();
    if (x >= limits.Screen.width()) x = std::max(0, limits.Screen.width() - width);
    if (y >= limits.Screen.height()) y = std::max(0, limits.Screen.height() - height);
    if (limits.SnapAtEdge) {
        // The work area's right and bottom are the first pixels outside it.
        const QRect& area = limits.WorkArea;
        const int right = area.x() + area.width();
        const int bottom = area.y() + area.height();
        if (Within(x, area.x())) x = area.x();
        if (Within(x + width, right)) x = right - width;
        if (Within(y, area.y())) y = area.y();
        if (Within(y + height, bottom)) y = bottom - height;
    }
    return {x, y};
}

QRect ResizedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum) {
    int left = start.x();
    int top = start.y();
    int right = start.x() + start.width();
    int bottom = start.y() + start.height();
    if (edges & Qt::LeftEdge) left = std::min(left + delta.x(), right - minimum.width());
    if (edges & Qt::RightEdge) right = std::max(right + delta.x(), left + minimum.width());
    if (edges & Qt::TopEdge) top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges & Qt::BottomEdge) bottom = std::max(bottom + delta.y(), top + minimum.height());
    return {left, top, right - left, bottom - top};
}

int TitleTextLeft(int controlRight, int unitLeft, int textWidth) {
    const int gap = unitLeft - controlRight;
    return controlRight + gap / 2 - textWidth / 2;
}

}  // namespace quenmark
