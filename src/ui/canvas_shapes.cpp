#include "ui/canvas_shapes.h"

#include <QBrush>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace quenmark {

namespace {

// A one-pixel pen in the current pen colour that covers both end points of
// a line, and no smoothing: every shape is drawn pixel-exact.
void UsePixelPen(QPainter& canvas) {
    QPen pen = canvas.pen();
    pen.setWidth(0);
    pen.setCapStyle(Qt::SquareCap);
    canvas.setPen(pen);
    canvas.setRenderHint(QPainter::Antialiasing, false);
}

// numerator / denominator rounded half away from zero (denominator > 0).
int RoundedQuotient(int numerator, int denominator) {
    const int half = numerator < 0 ? -denominator : denominator;
    return (2 * numerator + half) / (2 * denominator);
}

void DrawLineWithoutEnd(QPainter& canvas, QPoint from, QPoint to) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    // The pixel one step before the end point along the line's longer axis.
    const QPoint last(from.x() + RoundedQuotient(dx * (steps - 1), steps),
                      from.y() + RoundedQuotient(dy * (steps - 1), steps));
    if (last == from) {
        canvas.drawPoint(from);
    } else {
        canvas.drawLine(from, last);
    }
}

// The pixels of one row of a shape, First to Last; empty when Last < First.
struct TSpan {
    int First;
    int Last;
    bool Holds(int x) const { return x >= First && x <= Last; }
};

// Whether the pixel whose centre lies dx and dy inside a corner's ellipse
// centre (both zero or positive) falls within the ellipse.
bool InsideCorner(double dx, double dy, double radiusX, double radiusY) {
    if (dx <= 0 || dy <= 0) return true;
    const double nx = dx / radiusX;
    const double ny = dy / radiusY;
    return nx * nx + ny * ny <= 1.0;
}

// The row spans of a rectangle whose corners are quarters of an ellipse of
// roundSize × roundSize, sampled at pixel centres so that the shape is
// symmetric in both directions.
std::vector<TSpan> RoundedSpans(const TEdges& edges, int roundSize) {
    const int width = edges.Right - edges.Left;
    const int height = edges.Bottom - edges.Top;
    const double radiusX = std::min(roundSize / 2.0, width / 2.0);
    const double radiusY = std::min(roundSize / 2.0, height / 2.0);
    std::vector<TSpan> spans;
    for (int row = 0; row < height; ++row) {
        const double centreY = row + 0.5;
        const double dy = std::max(radiusY - centreY, centreY - (height - radiusY));
        int inset = 0;
        if (radiusX > 0 && radiusY > 0) {
            while (inset < width / 2 &&
                   !InsideCorner(radiusX - (inset + 0.5), dy, radiusX, radiusY)) {
                ++inset;
            }
        }
        spans.push_back({edges.Left + inset, edges.Right - 1 - inset});
    }
    return spans;
}

}  // namespace

QRect ToQRect(const TEdges& edges) {
    return QRect(QPoint(edges.Left, edges.Top), QPoint(edges.Right - 1, edges.Bottom - 1));
}

void RoundRectangle(QPainter& canvas, const TEdges& edges, int roundSize) {
    if (edges.Right <= edges.Left || edges.Bottom <= edges.Top) return;
    const std::vector<TSpan> spans = RoundedSpans(edges, roundSize);
    const QBrush brush = canvas.brush();
    const QPen pen = canvas.pen();
    const QColor penColor = pen.color();
    const TSpan outside{1, 0};
    for (std::size_t row = 0; row < spans.size(); ++row) {
        const TSpan& span = spans[row];
        const TSpan& above = row > 0 ? spans[row - 1] : outside;
        const TSpan& below = row + 1 < spans.size() ? spans[row + 1] : outside;
        // One span per pixel row of the shape, so the row fits an int.
        const int y = edges.Top + static_cast<int>(row);
        if (brush.style() != Qt::NoBrush) {
            canvas.fillRect(QRect(span.First, y, span.Last - span.First + 1, 1), brush);
        }
        if (pen.style() == Qt::NoPen) continue;
        // A pixel of the outline touches the outside above, below or beside
        // it; each run of such pixels in the row is filled at once.
        int runFirst = span.First;
        for (int x = span.First; x <= span.Last + 1; ++x) {
            const bool edge = x <= span.Last && (x == span.First || x == span.Last || !above.Holds(x) || !below.Holds(x));
            if (!edge) {
                if (x > runFirst) canvas.fillRect(QRect(runFirst, y, x - runFirst, 1), penColor);
                runFirst = x + 1;
            }
        }
    }
}

void LineSegment(QPainter& canvas, QPoint from, QPoint to) {
    UsePixelPen(canvas);
    DrawLineWithoutEnd(canvas, from, to);
}

// The inside in the brush, then every edge in the pen from its corner up to
// the next one, so that the outline holds each corner exactly once.
void FilledPolygon(QPainter& canvas, std::initializer_list<QPoint> corners) {
    if (corners.size() == 0) return;
    UsePixelPen(canvas);
    const QPen pen = canvas.pen();
    canvas.setPen(Qt::NoPen);
    canvas.drawPolygon(QPolygon(QList<QPoint>(corners)));
    canvas.setPen(pen);
    const std::vector<QPoint> points(corners);
    for (std::size_t i = 0; i < points.size(); ++i) {
        DrawLineWithoutEnd(canvas, points[i], points[(i + 1) % points.size()]);
    }
}

}  // namespace quenmark
