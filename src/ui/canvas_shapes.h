#pragma once

#include <QPoint>
#include <QRect>

#include <initializer_list>

class QPainter;

namespace quenmark {

// Shape drawing with the pixel rules the controls' geometry is written for:
// rectangles are given by their left, top, right and bottom edges and cover
// the pixels up to right - 1 and bottom - 1; a line covers its start point
// but not its end point; a polygon is filled with the brush and outlined
// with the pen.

struct TEdges {
    int Left;
    int Top;
    int Right;
    int Bottom;
};

// A rectangle with corners rounded by an ellipse of roundSize × roundSize.
void RoundRectangle(QPainter& canvas, const TEdges& edges, int roundSize);

void LineSegment(QPainter& canvas, QPoint from, QPoint to);

void FilledPolygon(QPainter& canvas, std::initializer_list<QPoint> corners);

// The Qt rectangle covering the same pixels as edges.
QRect ToQRect(const TEdges& edges);

}  // namespace quenmark
