#include "ui/canvas_shapes.h"

#include "widget_test_support.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

namespace quenmark {
namespace {

const QColor Blank(255, 255, 255);
const QColor Pen(0, 0, 255);
const QColor Brush(0, 255, 0);

QImage BlankImage() {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Blank);
    return image;
}

template <typename Draw>
QImage Drawn(Draw draw) {
    QImage image = BlankImage();
    QPainter painter(&image);
    painter.setPen(Pen);
    painter.setBrush(Brush);
    draw(painter);
    return image;
}

TEST(CanvasShapesTest, RectangleCoversUpToRightAndBottomMinusOne) {
    const QImage image = Drawn([](QPainter& p) { RoundRectangle(p, {2, 3, 10, 12}, 0); });
    EXPECT_EQ(image.pixelColor(2, 3), Pen);
    EXPECT_EQ(image.pixelColor(9, 11), Pen);
    EXPECT_EQ(image.pixelColor(9, 5), Pen);
    EXPECT_EQ(image.pixelColor(5, 11), Pen);
    EXPECT_EQ(image.pixelColor(5, 6), Brush);
    EXPECT_EQ(image.pixelColor(10, 5), Blank);
    EXPECT_EQ(image.pixelColor(5, 12), Blank);
    EXPECT_EQ(image.pixelColor(1, 5), Blank);
    EXPECT_EQ(image.pixelColor(5, 2), Blank);
}

TEST(CanvasShapesTest, RoundedCornersLeaveTheCornerPixelsOut) {
    const QImage image = Drawn([](QPainter& p) { RoundRectangle(p, {0, 0, 20, 20}, 8); });
    EXPECT_EQ(image.pixelColor(0, 0), Blank);
    EXPECT_EQ(image.pixelColor(19, 19), Blank);
    EXPECT_EQ(image.pixelColor(10, 0), Pen);
    EXPECT_EQ(image.pixelColor(0, 10), Pen);
    EXPECT_EQ(image.pixelColor(10, 10), Brush);
}

TEST(CanvasShapesTest, EmptyRectangleDrawsNothing) {
    const QImage image = Drawn([](QPainter& p) { RoundRectangle(p, {5, 5, 5, 9}, 0); });
    EXPECT_EQ(image, BlankImage());
}

TEST(CanvasShapesTest, RoundedRectangleIsSymmetric) {
    for (int roundSize : {3, 4, 8, 13}) {
        const QImage image = Drawn([&](QPainter& p) {
            RoundRectangle(p, {1, 2, 19, 16}, roundSize);
        });
        const QImage inner = image.copy(1, 2, 18, 14);
        EXPECT_EQ(inner, inner.mirrored(true, false)) << roundSize;
        EXPECT_EQ(inner, inner.mirrored(false, true)) << roundSize;
    }
}

TEST(CanvasShapesTest, RoundedOutlineIsOnePixelWide) {
    const QImage image = Drawn([](QPainter& p) { RoundRectangle(p, {0, 0, 20, 20}, 8); });
    // Along the diagonal from the corner: blank, then one outline pixel, then brush.
    int outline = 0;
    for (int i = 0; i < 10; ++i) outline += image.pixelColor(i, i) == Pen ? 1 : 0;
    EXPECT_EQ(outline, 1);
    EXPECT_EQ(image.pixelColor(5, 5), Brush);
}

struct LineRow {
    const char* name;
    friend void PrintTo(const LineRow& row, std::ostream* os) { *os << row.name; }
    QPoint from;
    QPoint to;
    std::vector<QPoint> drawn;
    QPoint notDrawn;
};

class LineSegmentTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(LineSegmentTest, CoversTheStartButNotTheEndPoint) {
    const QImage image = Drawn([](QPainter& p) { LineSegment(p, GetParam().from, GetParam().to); });
    for (QPoint point : GetParam().drawn)
        EXPECT_EQ(image.pixelColor(point), Pen) << point.x() << "," << point.y();
    EXPECT_EQ(image.pixelColor(GetParam().notDrawn), Blank);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, LineSegmentTest,
    ::testing::Values(LineRow{"Falling", {2, 2}, {8, 8}, {{2, 2}, {5, 5}, {7, 7}}, {8, 8}},
                      LineRow{"Rising", {12, 3}, {2, 13}, {{12, 3}, {7, 8}, {3, 12}}, {2, 13}},
                      LineRow{"Backwards", {8, 8}, {2, 2}, {{8, 8}, {5, 5}, {3, 3}}, {2, 2}},
                      LineRow{"Horizontal", {2, 5}, {9, 5}, {{2, 5}, {8, 5}}, {9, 5}},
                      LineRow{"Vertical", {4, 9}, {4, 3}, {{4, 9}, {4, 4}}, {4, 3}},
                      LineRow{"OnePixel", {6, 6}, {7, 7}, {{6, 6}}, {7, 7}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CanvasShapesTest, LineOfNoLengthDrawsNothing) {
    const QImage image = Drawn([](QPainter& p) { LineSegment(p, {4, 4}, {4, 4}); });
    EXPECT_EQ(image, BlankImage());
}

TEST(CanvasShapesTest, PolygonIsFilledAndOutlinedThroughEveryCorner) {
    const QImage image = Drawn([](QPainter& p) { FilledPolygon(p, {{2, 2}, {17, 2}, {2, 17}}); });
    for (QPoint corner : {QPoint(2, 2), QPoint(17, 2), QPoint(2, 17)}) {
        EXPECT_EQ(image.pixelColor(corner), Pen) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(image.pixelColor(10, 9), Pen);
    EXPECT_EQ(image.pixelColor(5, 5), Brush);
    EXPECT_EQ(image.pixelColor(15, 15), Blank);
}

TEST(CanvasShapesTest, EdgesBecomeTheSameQtRectangle) {
    EXPECT_EQ(ToQRect({2, 3, 10, 12}), QRect(2, 3, 8, 9));
}

}  // namespace
}  // namespace quenmark
