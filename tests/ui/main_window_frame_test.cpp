#include "main_window_test_support.h"

#include "ui/color_ref.h"
#include "ui/main_window_frame_rules.h"
#include "ui/quen_button.h"

#include <QImage>
#include <QLabel>
#include <QScreen>

#include <cctype>
#include <ostream>
#include <string>

namespace quenmark::test {
namespace {

// Test names made of the behaviour a row checks.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char* c = info.param.behaviour; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

// --- Hit test -------------------------------------------------------------------

struct HitRow {
    const char* behaviour;
    QPoint position;
    THitTest zone;
};

void PrintTo(const HitRow& row, std::ostream* os) { *os << row.behaviour; }

class MainWindowHitTestRows : public ::testing::TestWithParam<HitRow> {};

// A 350 x 110 window: the edges are 3 pixels wide (inclusive), the corners
// reach 12 pixels along each edge, the grip is the last 10 x 10 pixels.
const QSize HitWindow(350, 110);

TEST_P(MainWindowHitTestRows, GivesTheZone) {
    const HitRow& row = GetParam();
    EXPECT_EQ(MainWindowHitTest(row.position, HitWindow), row.zone) << row.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, MainWindowHitTestRows,
    ::testing::Values(
        HitRow{"left edge", {0, 50}, HTLEFT}, HitRow{"left edge inner pixel", {3, 50}, HTLEFT},
        HitRow{"just inside the left edge", {4, 50}, HTCLIENT},
        HitRow{"left edge near the top", {2, 12}, HTTOPLEFT}, HitRow{"left edge below the corner", {2, 13}, HTLEFT},
        HitRow{"left edge near the bottom", {2, 98}, HTBOTTOMLEFT},
        HitRow{"left edge above the bottom corner", {2, 97}, HTLEFT},
        HitRow{"right edge", {349, 50}, HTRIGHT}, HitRow{"right edge inner pixel", {347, 50}, HTRIGHT},
        HitRow{"just inside the right edge", {346, 50}, HTCLIENT},
        HitRow{"right edge near the top", {348, 12}, HTTOPRIGHT},
        HitRow{"right edge near the bottom", {348, 98}, HTBOTTOMRIGHT},
        HitRow{"top edge", {100, 0}, HTTOP}, HitRow{"top edge inner pixel", {100, 3}, HTTOP},
        HitRow{"top edge near the left", {12, 2}, HTTOPLEFT}, HitRow{"top edge right of the corner", {13, 2}, HTTOP},
        HitRow{"top edge near the right", {338, 2}, HTTOPRIGHT},
        HitRow{"top edge left of the right corner", {337, 2}, HTTOP},
        HitRow{"bottom edge", {100, 109}, HTBOTTOM}, HitRow{"bottom edge inner pixel", {100, 107}, HTBOTTOM},
        HitRow{"just above the bottom edge", {100, 106}, HTCLIENT},
        HitRow{"bottom edge near the left", {12, 108}, HTBOTTOMLEFT},
        HitRow{"bottom edge near the right", {338, 108}, HTBOTTOMRIGHT},
        HitRow{"size grip corner", {340, 100}, HTBOTTOMRIGHT},
        HitRow{"left of the size grip", {339, 100}, HTCLIENT},
        HitRow{"above the size grip", {340, 99}, HTCLIENT}, HitRow{"title row", {100, 4}, HTCAPTION},
        HitRow{"last title row pixel", {100, 17}, HTCAPTION}, HitRow{"below the title row", {100, 18}, HTCLIENT},
        HitRow{"left edge wins over the title row", {2, 15}, HTLEFT},
        HitRow{"top edge wins over the title row", {100, 2}, HTTOP},
        HitRow{"left edge wins over the top edge", {1, 1}, HTTOPLEFT},
        HitRow{"right edge wins over the bottom edge", {349, 109}, HTBOTTOMRIGHT},
        HitRow{"log area", {175, 60}, HTCLIENT}),
    RowName<HitRow>);

TEST(MainWindowFrameRules, SizingZonesMoveTheirEdgesAndShowTheirCursor) {
    const struct {
        THitTest zone;
        Qt::Edges edges;
        Qt::CursorShape cursor;
    } rows[] = {
        {HTLEFT, Qt::LeftEdge, Qt::SizeHorCursor},
        {HTRIGHT, Qt::RightEdge, Qt::SizeHorCursor},
        {HTTOP, Qt::TopEdge, Qt::SizeVerCursor},
        {HTBOTTOM, Qt::BottomEdge, Qt::SizeVerCursor},
        {HTTOPLEFT, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
        {HTBOTTOMRIGHT, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
        {HTTOPRIGHT, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
        {HTBOTTOMLEFT, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
        {HTCAPTION, Qt::Edges(), Qt::ArrowCursor},
        {HTCLIENT, Qt::Edges(), Qt::ArrowCursor},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ResizeEdges(row.zone), row.edges) << row.zone;
        EXPECT_EQ(ZoneCursor(row.zone), row.cursor) << row.zone;
    }
}

// --- Snapping ---------------------------------------------------------------------

struct SnapRow {
    const char* behaviour;
    QPoint proposed;
    QSize window;
    bool snap;
    QPoint expected;
};

void PrintTo(const SnapRow& row, std::ostream* os) { *os << row.behaviour; }

class MainWindowSnapRows : public ::testing::TestWithParam<SnapRow> {};

// A 1280 x 800 screen whose work area leaves a 64-pixel panel on the left
// and a 40-pixel one at the bottom.
const TPositionLimits SnapLimits(bool snap) { return {QSize(1280, 800), QRect(64, 0, 1216, 760), snap}; }

TEST_P(MainWindowSnapRows, GivesThePosition) {
    const SnapRow& row = GetParam();
    EXPECT_EQ(ConstrainWindowPosition(row.proposed, row.window, SnapLimits(row.snap)), row.expected)
        << row.behaviour;
}

const QSize Small(350, 110);

INSTANTIATE_TEST_SUITE_P(
    Positions, MainWindowSnapRows,
    ::testing::Values(
        SnapRow{"far from every edge", {400, 300}, Small, true, {400, 300}},
        SnapRow{"20 right of the left edge", {84, 300}, Small, true, {64, 300}},
        SnapRow{"21 right of the left edge", {85, 300}, Small, true, {85, 300}},
        SnapRow{"20 left of the left edge", {44, 300}, Small, true, {64, 300}},
        SnapRow{"21 left of the left edge", {43, 300}, Small, true, {43, 300}},
        SnapRow{"right end 20 before the right edge", {910, 300}, Small, true, {930, 300}},
        SnapRow{"right end 21 before the right edge", {909, 300}, Small, true, {909, 300}},
        SnapRow{"right end 20 beyond the right edge", {950, 300}, Small, true, {930, 300}},
        SnapRow{"20 below the top edge", {400, 20}, Small, true, {400, 0}},
        SnapRow{"21 below the top edge", {400, 21}, Small, true, {400, 21}},
        SnapRow{"bottom 20 above the work area's end", {400, 630}, Small, true, {400, 650}},
        SnapRow{"bottom 21 above the work area's end", {400, 629}, Small, true, {400, 629}},
        SnapRow{"a corner snaps both ways", {80, 640}, Small, true, {64, 650}},
        SnapRow{"the right rule wins over the left", {70, 300}, QSize(1200, 110), true, {80, 300}},
        SnapRow{"the bottom rule wins over the top", {400, 10}, QSize(350, 750), true, {400, 10}},
        SnapRow{"snapping off", {70, 10}, Small, false, {70, 10}},
        SnapRow{"starting beyond the screen's right end", {1280, 300}, Small, false, {930, 300}},
        SnapRow{"starting beyond the screen's bottom", {400, 800}, Small, false, {400, 690}},
        SnapRow{"just inside the screen", {1279, 799}, Small, false, {1279, 799}},
        SnapRow{"wider than the screen", {1300, 300}, QSize(1400, 110), false, {0, 300}},
        SnapRow{"beyond the screen, then snapped", {1500, 300}, Small, true, {930, 300}}),
    RowName<SnapRow>);

TEST(MainWindowFrameRules, ResizingMovesOnlyTheDraggedEdgesAndKeepsTheMinimum) {
    const QRect start(100, 100, 350, 110);
    const QSize minimum(140, 90);
    const struct {
        const char* behaviour;
        Qt::Edges edges;
        QPoint delta;
        QRect expected;
    } rows[] = {
        {"right edge out", Qt::RightEdge, {50, 7}, {100, 100, 400, 110}},
        {"left edge in", Qt::LeftEdge, {20, 0}, {120, 100, 330, 110}},
        {"left edge past the minimum", Qt::LeftEdge, {300, 0}, {310, 100, 140, 110}},
        {"bottom edge past the minimum", Qt::BottomEdge, {0, -100}, {100, 100, 350, 90}},
        {"top-left corner out", Qt::TopEdge | Qt::LeftEdge, {-10, -10}, {90, 90, 360, 120}},
        {"bottom-right corner in", Qt::BottomEdge | Qt::RightEdge, {-10, -5}, {100, 100, 340, 105}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ResizedGeometry(start, row.edges, row.delta, minimum), row.expected) << row.behaviour;
}

TEST(MainWindowFrameRules, TheTitleTextIsCentredInTheGapWithHalvesRoundedTowardZero) {
    const struct {
        int controlRight, unitLeft, textWidth, expected;
    } rows[] = {
        {16, 85, 96, 2},     // gap 69: 16 + 34 - 48
        {16, 85, 97, 2},     // an odd width loses its half pixel
        {16, 243, 96, 81},   // gap 227: 16 + 113 - 48
        {16, 13, 10, 10},    // gap -3: 16 - 1 - 5
    };
    for (const auto& row : rows)
        EXPECT_EQ(TitleTextLeft(row.controlRight, row.unitLeft, row.textWidth), row.expected);
}

// --- The window's own frame ---------------------------------------------------------

class MainWindowFrame : public MainWindowTest {
protected:
    // Pixels that differ from the base colour in the gap between the control
    // and unit buttons, on the title rows where no stripe runs.
    QRect TitleInk(int width) {
        Window().resize(width, 110);
        const QImage image = Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QColor base = ToQColor(FSettings->ColorScheme.BaseColor);
        const int from = Window().btnControl->geometry().right() + 1;
        const int to = Window().btnUnit->x();
        QRect ink;
        for (int y = 1; y < 17; ++y) {
            if (y == 4 || y == 7 || y == 10 || y == 13) continue;
            for (int x = from; x < to; ++x)
                if (image.pixelColor(x, y) != base) ink |= QRect(x, y, 1, 1);
        }
        return ink;
    }
};

TEST_F(MainWindowFrame, TheTitleTextIsWrittenOnlyFrom210PixelsAndCentredInTheGap) {
    MakeWindow();
    EXPECT_TRUE(TitleInk(209).isEmpty());
    const QRect ink = TitleInk(210);
    ASSERT_FALSE(ink.isEmpty());
    const int gapCentre = (Window().btnControl->geometry().right() + 1 + Window().btnUnit->x()) / 2;
    EXPECT_NEAR(ink.center().x(), gapCentre, 4);
    EXPECT_FALSE(TitleInk(350).isEmpty());
}

TEST_F(MainWindowFrame, TheLayoutFollowsTheWindowSize) {
    MakeWindow();
    Window().resize(400, 200);
    const int rowTop = 200 - Window().lblLT->height() - 6;
    EXPECT_EQ(Window().lblLT->y(), rowTop);
    EXPECT_EQ(Window().edtLine->geometry(),
              QRect(Window().lblLT->geometry().right() + 5, rowTop, 400 - (Window().lblLT->geometry().right() + 5) - 8,
                    Window().lblLT->height()));
    EXPECT_EQ(Window().memLog->geometry(), QRect(6, 22, 389, rowTop - 30));
    EXPECT_EQ(Window().btnHide->x(), 384);
    EXPECT_EQ(Window().btnDec->x(), 353);
    EXPECT_EQ(Window().btnUnit->x(), 293);
}

TEST_F(MainWindowFrame, ResizingAndMovingCopyThePlacementIntoTheSettings) {
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    Window().setGeometry(150, 120, 300, 140);
    EXPECT_EQ(FSettings->MainPlacement, (TWindowPlacement{150, 120, 300, 140, true}));
}

TEST_F(MainWindowFrame, DraggingTheTitleRowMovesTheWindowAndSnapsToTheWorkArea) {
    for (bool snap : {true, false}) {
        FSettings->SnapAtEdge = snap;
        FSettings->MainPlacement = {100, 100, 350, 110, true};
        MakeWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint start = Window().pos();
        QTest::mousePress(&Window(), Qt::LeftButton, {}, QPoint(150, 8));
        QTest::mouseMove(&Window(), QPoint(150 - (start.x() - area.x()) + 15, 8));
        QTest::mouseRelease(&Window(), Qt::LeftButton, {}, QPoint(150, 8));
        EXPECT_EQ(Window().x(), area.x() + (snap ? 0 : 15)) << "snap " << snap;
        EXPECT_EQ(Window().y(), start.y());
    }
}

TEST_F(MainWindowFrame, ThePositionFromTheSettingsIsSnappedToo) {
    FSettings->MainPlacement = {10, 100, 350, 110, true};
    MakeWindow();
    EXPECT_EQ(Window().x(), QGuiApplication::primaryScreen()->availableGeometry().x());
}

TEST_F(MainWindowFrame, AlwaysOnTopFollowsTheSetting) {
    FSettings->AlwaysOnTop = false;
    MakeWindow();
    EXPECT_FALSE(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    FSettings->AlwaysOnTop = true;
    Window().ApplyPosition();
    EXPECT_TRUE(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(MainWindowFrame, TheColoursComeFromTheScheme) {
    FSettings->ColorScheme = ColorSchemes()[6];
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    const TColorScheme& scheme = FSettings->ColorScheme;
    EXPECT_EQ(Window().palette().color(QPalette::Window), ToQColor(scheme.BaseColor));
    EXPECT_EQ(Window().edtLine->palette().color(QPalette::Base), ToQColor(scheme.BaseColor));
    EXPECT_EQ(Window().memLog->palette().color(QPalette::Text), ToQColor(scheme.TextColor));
    for (TQuenButton* button : {Window().btnControl, Window().btnUnit, Window().btnDec, Window().btnHide}) {
        EXPECT_EQ(button->FaceColor(), scheme.BaseColor);
        EXPECT_EQ(button->BorderColor(), scheme.DarkColor);
        EXPECT_EQ(button->TextColor(), scheme.DarkColor);
        EXPECT_EQ(button->SelectedColor(), scheme.DarkColor);
    }
    EXPECT_FALSE(Window().Tray().Icon().Icon().isNull());
}

}  // namespace
}  // namespace quenmark::test
