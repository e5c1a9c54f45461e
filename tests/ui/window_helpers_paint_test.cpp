#include "ui/window_helpers.h"

#include "app/color_schemes.h"
#include "widget_test_support.h"

#include <QPainter>

#include <functional>

namespace quenmark {
namespace {

using test::PixelAt;

constexpr TColor BaseRGB = RGBColor(255, 255, 192);
constexpr TColor DarkRGB = RGBColor(128, 64, 0);
// What the image holds where no helper painted.
const QColor Untouched(255, 0, 255);

TColorScheme TestColors() {
    TColorScheme colors;
    colors.ColorName = "Test";
    colors.BaseColor = BaseRGB;
    colors.DarkColor = DarkRGB;
    colors.TextColor = RGBColor(0, 0, 0);
    return colors;
}

QImage Painted(int width, int height, const std::function<void(QPainter&)>& paint) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Untouched);
    QPainter painter(&image);
    paint(painter);
    painter.end();
    return image;
}

// Compares every pixel with the colour that expected gives for it; reports
// the first few mismatches.
void ExpectPixels(const QImage& image, const std::function<QColor(int x, int y)>& expected) {
    int mismatches = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor want = expected(x, y);
            if (!want.isValid() || PixelAt(image, x, y) == want) continue;
            ADD_FAILURE() << "pixel " << x << "," << y << " is " << PixelAt(image, x, y).name().toStdString()
                          << ", expected " << want.name().toStdString();
            if (++mismatches == 5) return;
        }
    }
}

// ---- the frame ----

struct FrameRow {
    const char* name;
    int width;
    int height;
    bool active;
};

class PaintFrameTest : public ::testing::TestWithParam<FrameRow> {};

// The whole window in BaseColor inside a DarkColor border; the stripes at
// y = 4, 7, 10 and 13 only while active and the separator at y = 17 always,
// each a line from x = 2 to x = W - 2 that leaves out its end point.
TEST_P(PaintFrameTest, FillsBordersAndDrawsTheTitleRow) {
    const FrameRow& row = GetParam();
    const QImage image = Painted(row.width, row.height, [&](QPainter& p) {
        PaintFrame(p, row.width, row.height, TestColors(), row.active);
    });
    const int w = row.width;
    const int h = row.height;
    ExpectPixels(image, [&](int x, int y) {
        const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
        const bool onLine = x >= 2 && x <= w - 3;
        const bool stripe = row.active && (y == 4 || y == 7 || y == 10 || y == 13);
        return ToQColor(border || (onLine && (stripe || y == 17)) ? DarkRGB : BaseRGB);
    });
}

INSTANTIATE_TEST_SUITE_P(Rows, PaintFrameTest,
                         ::testing::Values(FrameRow{"ActiveWindowHasStripes", 350, 110, true},
                                           FrameRow{"InactiveWindowHasOnlyTheSeparator", 350, 110, false},
                                           FrameRow{"NarrowActiveWindow", 24, 30, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PaintFrame, StripesOfA350PixelWindowEndBeforeX348) {
    const QImage image = Painted(350, 110, [](QPainter& p) { PaintFrame(p, 350, 110, TestColors(), true); });
    for (const int y : {4, 7, 10, 13, 17}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(PixelAt(image, 1, y), ToQColor(BaseRGB));
        EXPECT_EQ(PixelAt(image, 2, y), ToQColor(DarkRGB));
        EXPECT_EQ(PixelAt(image, 347, y), ToQColor(DarkRGB));
        EXPECT_EQ(PixelAt(image, 348, y), ToQColor(BaseRGB));
    }
    EXPECT_EQ(PixelAt(image, 100, 5), ToQColor(BaseRGB)) << "between the stripes";
    EXPECT_EQ(PixelAt(image, 100, 16), ToQColor(BaseRGB)) << "above the separator";
}

TEST(PaintFrame, LeavesThePaintersPenAndBrushAsTheyWere) {
    Painted(50, 40, [](QPainter& p) {
        p.setPen(QPen(Qt::green, 3));
        p.setBrush(Qt::blue);
        PaintFrame(p, 50, 40, TestColors(), true);
        EXPECT_EQ(p.pen().color(), QColor(Qt::green));
        EXPECT_EQ(p.pen().width(), 3);
        EXPECT_EQ(p.brush().color(), QColor(Qt::blue));
    });
}

// ---- the separator ----

struct SeparatorRow {
    const char* name;
    int width;
    int y;
};

class PaintSeparatorTest : public ::testing::TestWithParam<SeparatorRow> {};

TEST_P(PaintSeparatorTest, DrawsOneRowFromTwoToWidthLessTwo) {
    const SeparatorRow& row = GetParam();
    const QImage image =
        Painted(row.width, 60, [&](QPainter& p) { PaintSeparator(p, row.width, row.y, TestColors()); });
    ExpectPixels(image, [&](int x, int y) {
        return y == row.y && x >= 2 && x <= row.width - 3 ? ToQColor(DarkRGB) : Untouched;
    });
}

INSTANTIATE_TEST_SUITE_P(Rows, PaintSeparatorTest,
                         ::testing::Values(SeparatorRow{"UnderTheTitle", 350, 17},
                                           SeparatorRow{"AboveTheInputLine", 200, 41},
                                           SeparatorRow{"FirstRow", 30, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- the size grip ----

constexpr int GripWidth = 60;
constexpr int GripHeight = 40;

// The grip's pixels: a DarkColor triangle below the diagonal from
// (W, H - 14) to (W - 15, H + 1), crossed by four BaseColor lines on the
// diagonals 14, 11, 8 and 5 pixels in from the corner, each from x = W - 2
// down to just above the bottom row. Pixels whose centre lies exactly on
// the triangle's long side are left to the rasteriser.
QColor GripPixel(int x, int y) {
    const int diagonal = (x - GripWidth) + (y - GripHeight);
    if (diagonal == -15) return {};
    if (diagonal < -15) return Untouched;
    const bool onLine = diagonal == -14 || diagonal == -11 || diagonal == -8 || diagonal == -5;
    if (onLine && x <= GripWidth - 2 && y <= GripHeight - 2) return ToQColor(BaseRGB);
    return ToQColor(DarkRGB);
}

TEST(PaintSizeGrip, DrawsTheStripedTriangleInTheCornerWhileActive) {
    const QImage image = Painted(GripWidth, GripHeight, [](QPainter& p) {
        PaintSizeGrip(p, GripWidth, GripHeight, TestColors(), true);
    });
    ExpectPixels(image, GripPixel);
    // The ends of the first line: its start is drawn, its end point is not.
    EXPECT_EQ(PixelAt(image, GripWidth - 2, GripHeight - 12), ToQColor(BaseRGB));
    EXPECT_EQ(PixelAt(image, GripWidth - 12, GripHeight - 2), ToQColor(BaseRGB));
    EXPECT_EQ(PixelAt(image, GripWidth - 13, GripHeight - 1), ToQColor(DarkRGB));
    // The right column and the bottom row stay dark.
    EXPECT_EQ(PixelAt(image, GripWidth - 1, GripHeight - 13), ToQColor(DarkRGB));
    EXPECT_EQ(PixelAt(image, GripWidth - 1, GripHeight - 1), ToQColor(DarkRGB));
    EXPECT_EQ(PixelAt(image, GripWidth - 12, GripHeight - 1), ToQColor(DarkRGB));
}

TEST(PaintSizeGrip, PaintsNothingWhileInactive) {
    const QImage image = Painted(GripWidth, GripHeight, [](QPainter& p) {
        PaintSizeGrip(p, GripWidth, GripHeight, TestColors(), false);
    });
    ExpectPixels(image, [](int, int) { return Untouched; });
}

}  // namespace
}  // namespace quenmark
