#include "ui/outline_overlay.h"

#include "widget_test_support.h"

#include <QPaintEvent>
#include <QWindow>

#include <algorithm>
#include <chrono>

namespace quenmark {
namespace {

using test::PixelAt;

const QColor Fallback(0, 0, 128);

TEST(RegionOfPixels, HoldsExactlyThePixelsInRunsPerRow) {
    const std::vector<TScreenPoint> pixels{{5, 2}, {3, 2}, {4, 2}, {9, 2}, {4, 2}, {0, -1}};
    const QRegion region = RegionOfPixels(pixels);
    for (const TScreenPoint& p : pixels) EXPECT_TRUE(region.contains(QPoint(p.X, p.Y))) << p.X << "," << p.Y;
    EXPECT_FALSE(region.contains(QPoint(6, 2)));
    EXPECT_FALSE(region.contains(QPoint(4, 3)));
    EXPECT_EQ(region.rectCount(), 3) << "runs 3..5 and 9 of row 2, and the point of row -1";
    EXPECT_EQ(region.boundingRect(), QRect(QPoint(0, -1), QPoint(9, 2)));
    EXPECT_TRUE(RegionOfPixels({}).isEmpty());
}

// ---- the overlay window ----

TEST(OutlineOverlay, IsAFramelessWindowThatTakesNoInputOrFocus) {
    TOutlineOverlay overlay(QRect(50, 60, 200, 100), QImage(), Fallback);
    const Qt::WindowFlags flags = overlay.Window().flags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTransparentForInput);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(overlay.Window().geometry(), QRect(50, 60, 200, 100));
    EXPECT_FALSE(overlay.Window().isVisible()) << "nothing shows before the first outline";
}

TEST(OutlineOverlay, IsShapedToTheOutlinesAndHiddenWithoutThem) {
    TOutlineOverlay overlay(QRect(50, 60, 200, 100), QImage(), Fallback);
    const QRegion first = RegionOfPixels(OutlinePixels({{{60, 70}, {100, 70}, {100, 90}, {60, 90}}}));
    overlay.Show(first, first);
    EXPECT_TRUE(overlay.Window().isVisible());
    EXPECT_EQ(overlay.Shown(), first);
    // The display shapes the window where it can; elsewhere nothing is seen.
    const bool shaped = QGuiApplication::platformName() == "xcb";
    if (shaped) {
        EXPECT_EQ(overlay.Window().mask(), first.translated(-50, -60)) << "mask in window coordinates";
    }

    const QRegion second = RegionOfPixels(OutlinePixels({{{120, 80}, {140, 80}, {140, 150}, {120, 150}}}));
    overlay.Show(first | second, second);
    EXPECT_EQ(overlay.Shown(), first | second);
    if (shaped) {
        EXPECT_EQ(overlay.Window().mask(), (first | second).translated(-50, -60));
    }

    overlay.Show(QRegion(), QRegion());
    EXPECT_FALSE(overlay.Window().isVisible());
    EXPECT_TRUE(overlay.Shown().isEmpty());
}

TEST(OutlineOverlay, ShowsTheScreenInvertedOrTheFallbackColour) {
    QImage background(20, 10, QImage::Format_RGB32);
    background.fill(QColor(0, 0, 0));
    background.setPixelColor(3, 4, QColor(255, 128, 0));
    const TOutlineOverlay inverting(QRect(0, 0, 20, 10), background, Fallback);
    EXPECT_EQ(PixelAt(inverting.Contents(), 0, 0), QColor(255, 255, 255));
    EXPECT_EQ(PixelAt(inverting.Contents(), 3, 4), QColor(0, 127, 255));

    const TOutlineOverlay plain(QRect(0, 0, 20, 10), QImage(), Fallback);
    EXPECT_EQ(PixelAt(plain.Contents(), 0, 0), Fallback);
    EXPECT_EQ(PixelAt(plain.Contents(), 19, 9), Fallback);
}

// A window of this program under the overlay; it counts its paints.
class PaintCounter : public QWidget {
public:
    int Paints = 0;
    QRegion Painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++Paints;
        Painted |= event->region();
    }
};

TEST(OutlineOverlay, RepaintsThisProgramsWindowsWhereOutlinesGo) {
    PaintCounter below;
    below.setGeometry(100, 100, 200, 150);
    below.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&below));
    QCoreApplication::processEvents();
    TOutlineOverlay overlay(QRect(80, 80, 300, 200), QImage(), Fallback);
    const QRegion outline = RegionOfPixels(OutlinePixels({{{120, 120}, {180, 120}, {180, 160}, {120, 160}}}));
    overlay.Show(outline, outline);
    const int before = below.Paints;
    below.Painted = QRegion();

    overlay.Show(QRegion(), QRegion());
    EXPECT_GT(below.Paints, before) << "painted without waiting for the event loop";
    EXPECT_TRUE(below.Painted.contains(outline.translated(-100, -100).boundingRect()));
}

// ---- playing the effect ----

class PlayOutlineEffectTest : public ::testing::Test {
protected:
    const TOutlineFrames FFrames = BuildOutlineFrames({300, 250, 350, 110}, {20, 30}, true);

    QRegion FrameRegion(int k) const {
        return RegionOfPixels(OutlinePixels(RoundOutlineCorners(FFrames[static_cast<std::size_t>(k)])));
    }
};

TEST_F(PlayOutlineEffectTest, EveryStepShowsTheNewestFourOutlines) {
    int steps = 0;
    PlayOutlineEffect(FFrames, Fallback, [&](int step, const TOutlineOverlay& overlay) {
        SCOPED_TRACE(step);
        EXPECT_EQ(step, steps++);
        QRegion trail;
        for (int k = std::max(0, step - 3); k <= step; ++k) trail |= FrameRegion(k);
        EXPECT_EQ(overlay.Shown(), trail);
        EXPECT_TRUE(overlay.Window().isVisible());
        EXPECT_TRUE(overlay.Area().contains(trail.boundingRect()));
    });
    EXPECT_EQ(steps, OutlineFrameCount);
}

TEST_F(PlayOutlineEffectTest, FirstOutlineIsThePointAndTheLastTheWindow) {
    QRegion first;
    QRegion last;
    PlayOutlineEffect(FFrames, Fallback, [&](int step, const TOutlineOverlay& overlay) {
        if (step == 0) first = overlay.Shown();
        if (step == 24) last = overlay.Shown();
    });
    EXPECT_EQ(first, QRegion(20, 30, 1, 1));
    EXPECT_TRUE(last.contains(QRect(300, 250, 351, 1))) << "top edge of the window's rectangle";
    EXPECT_TRUE(last.contains(QRect(300, 360, 351, 1))) << "bottom edge";
}

TEST_F(PlayOutlineEffectTest, StepsArePacedToTenMilliseconds) {
    std::vector<std::chrono::steady_clock::time_point> times;
    PlayOutlineEffect(FFrames, Fallback, [&](int, const TOutlineOverlay&) {
        times.push_back(std::chrono::steady_clock::now());
    });
    ASSERT_EQ(times.size(), static_cast<size_t>(OutlineFrameCount));
    const auto span = std::chrono::duration_cast<std::chrono::milliseconds>(times.back() - times.front());
    EXPECT_GE(span.count(), 24 * 10 - 5);
}

}  // namespace
}  // namespace quenmark
