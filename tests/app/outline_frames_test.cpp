#include "app/outline_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <set>
#include <utility>

namespace quenmark {
namespace {

constexpr double Tolerance = 1e-9;
constexpr TWindowBounds Window{900, 650, 350, 110};
constexpr TScreenPoint Origin{1200, 790};

TOutlinePoint CentreOf(const TOutlineFrame& frame) {
    TOutlinePoint centre;
    for (const TOutlinePoint& corner : frame) {
        centre.X += corner.X / 4;
        centre.Y += corner.Y / 4;
    }
    return centre;
}

// Frame number step of the effect; the tests count steps as ints.
const TOutlineFrame& FrameAt(const TOutlineFrames& frames, int step) { return frames[static_cast<std::size_t>(step)]; }

double Distance(TOutlinePoint a, TOutlinePoint b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

void ExpectSamePoint(TOutlinePoint actual, TOutlinePoint expected) {
    EXPECT_NEAR(actual.X, expected.X, Tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, Tolerance);
}

// ---- frame geometry ----

TEST(OutlineFrames, FirstFrameIsAPointAtTheOrigin) {
    const TOutlineFrames frames = BuildOutlineFrames(Window, Origin, true);
    for (const TOutlinePoint& corner : frames[0]) ExpectSamePoint(corner, {1200, 790});
}

TEST(OutlineFrames, LastFrameIsExactlyTheWindowsRectangle) {
    const TOutlineFrames frames = BuildOutlineFrames(Window, Origin, true);
    const TOutlineFrame& last = frames[24];
    EXPECT_EQ(last[0].X, 900);
    EXPECT_EQ(last[0].Y, 650);
    EXPECT_EQ(last[1].X, 1250);
    EXPECT_EQ(last[1].Y, 650);
    EXPECT_EQ(last[2].X, 1250);
    EXPECT_EQ(last[2].Y, 760);
    EXPECT_EQ(last[3].X, 900);
    EXPECT_EQ(last[3].Y, 760);
}

TEST(OutlineFrames, CentresMoveInEqualStepsTowardsTheWindowsCentre) {
    // The centre is taken with halves rounded toward zero: 351 / 2 = 175.
    const TWindowBounds odd{-100, 40, 351, 111};
    const TScreenPoint origin{500, -20};
    const TOutlineFrames frames = BuildOutlineFrames(odd, origin, true);
    const double centreX = -100 + 175;
    const double centreY = 40 + 55;
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        ExpectSamePoint(CentreOf(FrameAt(frames, i)), {500 + i * (centreX - 500) / 24, -20 + i * (centreY + 20) / 24});
    }
}

TEST(OutlineFrames, SidesGrowByOneTwentyFourthOfTheWindowPerFrame) {
    const TOutlineFrames frames = BuildOutlineFrames(Window, Origin, true);
    for (int i = 1; i < 24; ++i) {
        SCOPED_TRACE(i);
        const TOutlineFrame& frame = FrameAt(frames, i);
        EXPECT_NEAR(Distance(frame[0], frame[1]), i * 350.0 / 24, Tolerance);
        EXPECT_NEAR(Distance(frame[1], frame[2]), i * 110.0 / 24, Tolerance);
        EXPECT_NEAR(Distance(frame[2], frame[3]), i * 350.0 / 24, Tolerance);
        EXPECT_NEAR(Distance(frame[3], frame[0]), i * 110.0 / 24, Tolerance);
    }
}

TEST(OutlineFrames, FramesTurnSevenAndAHalfDegreesLessEachStep) {
    const TOutlineFrames frames = BuildOutlineFrames(Window, Origin, true);
    for (int i = 1; i < 24; ++i) {
        SCOPED_TRACE(i);
        // The top edge runs along the frame's angle of (24 - i) * 7.5 degrees.
        const TOutlineFrame& frame = FrameAt(frames, i);
        const double angle = std::atan2(frame[1].Y - frame[0].Y, frame[1].X - frame[0].X);
        const double expected = (24 - i) * 7.5 * std::numbers::pi / 180;
        EXPECT_NEAR(std::remainder(angle - expected, 2 * std::numbers::pi), 0, Tolerance);
    }
}

TEST(OutlineFrames, HidingPlaysTheFramesInReverse) {
    const TOutlineFrames showing = BuildOutlineFrames(Window, Origin, true);
    const TOutlineFrames hiding = BuildOutlineFrames(Window, Origin, false);
    for (std::size_t k = 0; k < OutlineFrameCount; ++k) {
        SCOPED_TRACE(k);
        for (std::size_t corner = 0; corner < 4; ++corner) {
            EXPECT_EQ(hiding[k][corner].X, showing[24 - k][corner].X);
            EXPECT_EQ(hiding[k][corner].Y, showing[24 - k][corner].Y);
        }
    }
    // The first outline drawn when hiding is the window's own rectangle.
    EXPECT_EQ(RoundOutlineCorners(hiding[0]),
              (TOutlineCorners{{{900, 650}, {1250, 650}, {1250, 760}, {900, 760}}}));
}

// ---- rounding to pixels ----

struct RoundingRow {
    const char* name;
    double value;
    int expected;
};

class RoundHalfToEvenTest : public ::testing::TestWithParam<RoundingRow> {};

TEST_P(RoundHalfToEvenTest, RoundsToTheNearestWithTiesToEven) {
    EXPECT_EQ(RoundHalfToEven(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RoundHalfToEvenTest,
    ::testing::Values(RoundingRow{"WholeNumberStays", 3.0, 3}, RoundingRow{"BelowHalfGoesDown", 2.4999, 2},
                      RoundingRow{"AboveHalfGoesUp", 2.5001, 3}, RoundingRow{"TieToEvenBelow", 2.5, 2},
                      RoundingRow{"TieToEvenAbove", 1.5, 2}, RoundingRow{"TieAtZero", 0.5, 0},
                      RoundingRow{"NegativeTieToZero", -0.5, 0}, RoundingRow{"NegativeTieToEven", -1.5, -2},
                      RoundingRow{"NegativeAboveHalf", -2.6, -3}, RoundingRow{"NegativeBelowHalf", -2.4, -2}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OutlineCorners, RoundEachCornerToTheNearestPixel) {
    const TOutlineFrame frame{{{10.5, 11.5}, {20.4, -3.5}, {-0.6, 7.49}, {0, 0}}};
    EXPECT_EQ(RoundOutlineCorners(frame), (TOutlineCorners{{{10, 12}, {20, -4}, {-1, 7}, {0, 0}}}));
}

// ---- outline pixels ----

std::set<std::pair<int, int>> PixelSet(const std::vector<TScreenPoint>& pixels) {
    std::set<std::pair<int, int>> set;
    for (const TScreenPoint& p : pixels) set.insert({p.X, p.Y});
    return set;
}

TEST(OutlinePixels, UprightRectangleCoversItsBorderOnce) {
    const std::vector<TScreenPoint> pixels = OutlinePixels({{{0, 0}, {4, 0}, {4, 2}, {0, 2}}});
    std::set<std::pair<int, int>> border;
    for (int x = 0; x <= 4; ++x) border.insert({x, 0}), border.insert({x, 2});
    for (int y = 0; y <= 2; ++y) border.insert({0, y}), border.insert({4, y});
    EXPECT_EQ(pixels.size(), border.size());
    EXPECT_EQ(PixelSet(pixels), border);
}

TEST(OutlinePixels, TurnedSquareIsAClosedChainOfNeighbours) {
    const std::vector<TScreenPoint> pixels = OutlinePixels({{{2, 0}, {4, 2}, {2, 4}, {0, 2}}});
    EXPECT_EQ(PixelSet(pixels), (std::set<std::pair<int, int>>{
                                    {2, 0}, {3, 1}, {4, 2}, {3, 3}, {2, 4}, {1, 3}, {0, 2}, {1, 1}}));
    for (size_t k = 0; k < pixels.size(); ++k) {
        const TScreenPoint& a = pixels[k];
        const TScreenPoint& b = pixels[(k + 1) % pixels.size()];
        EXPECT_LE(std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y)), 1) << "gap after pixel " << k;
    }
}

TEST(OutlinePixels, EveryFrameOfTheEffectIsAClosedChainThroughItsCorners) {
    const TOutlineFrames frames = BuildOutlineFrames(Window, Origin, true);
    for (std::size_t k = 0; k < OutlineFrameCount; ++k) {
        SCOPED_TRACE(k);
        const TOutlineCorners corners = RoundOutlineCorners(frames[k]);
        const std::vector<TScreenPoint> pixels = OutlinePixels(corners);
        const auto set = PixelSet(pixels);
        for (const TScreenPoint& corner : corners) EXPECT_TRUE(set.count({corner.X, corner.Y}));
        for (size_t p = 0; p < pixels.size(); ++p) {
            const TScreenPoint& a = pixels[p];
            const TScreenPoint& b = pixels[(p + 1) % pixels.size()];
            ASSERT_LE(std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y)), 1);
        }
    }
}

TEST(OutlinePixels, APointFrameIsItsSinglePixel) {
    const std::vector<TScreenPoint> pixels = OutlinePixels({{{7, -3}, {7, -3}, {7, -3}, {7, -3}}});
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0], (TScreenPoint{7, -3}));
}

// ---- drawing order ----

TEST(OutlineOperations, StartsByDrawingFourFramesBeforeTheFirstErase) {
    const std::vector<TOutlineOperation> operations = OutlineOperations();
    const std::vector<TOutlineOperation> start{
        {TOutlineAction::Draw, 0},  {TOutlineAction::Pace, -1}, {TOutlineAction::Draw, 1},
        {TOutlineAction::Pace, -1}, {TOutlineAction::Draw, 2},  {TOutlineAction::Pace, -1},
        {TOutlineAction::Draw, 3},  {TOutlineAction::Pace, -1}, {TOutlineAction::Draw, 4},
        {TOutlineAction::Erase, 0}, {TOutlineAction::Pace, -1}, {TOutlineAction::Draw, 5},
        {TOutlineAction::Erase, 1}, {TOutlineAction::Pace, -1}};
    ASSERT_GE(operations.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), operations.begin()));
}

TEST(OutlineOperations, EndsByErasingTheLastFourFramesInOrder) {
    const std::vector<TOutlineOperation> operations = OutlineOperations();
    const std::vector<TOutlineOperation> end{{TOutlineAction::Draw, 24},  {TOutlineAction::Erase, 20},
                                             {TOutlineAction::Pace, -1},  {TOutlineAction::Erase, 21},
                                             {TOutlineAction::Erase, 22}, {TOutlineAction::Erase, 23},
                                             {TOutlineAction::Erase, 24}};
    ASSERT_GE(operations.size(), end.size());
    EXPECT_TRUE(std::equal(end.begin(), end.end(), operations.end() - static_cast<long>(end.size())));
}

TEST(OutlineOperations, KeepATrailOfAtMostFourAndLeaveNothingBehind) {
    std::set<int> onScreen;
    std::set<int> drawn;
    int paces = 0;
    for (const TOutlineOperation& operation : OutlineOperations()) {
        switch (operation.Action) {
        case TOutlineAction::Draw:
            EXPECT_TRUE(drawn.insert(operation.Frame).second) << "frame drawn twice: " << operation.Frame;
            onScreen.insert(operation.Frame);
            break;
        case TOutlineAction::Erase:
            EXPECT_EQ(onScreen.erase(operation.Frame), 1u) << "frame not on screen: " << operation.Frame;
            break;
        case TOutlineAction::Pace: {
            // Each step ends with the newest four frames at most on the screen.
            std::set<int> trail;
            for (int k = std::max(0, paces - 3); k <= paces; ++k) trail.insert(k);
            EXPECT_EQ(onScreen, trail) << "after step " << paces;
            ++paces;
            break;
        }
        }
    }
    EXPECT_EQ(paces, OutlineFrameCount);
    EXPECT_EQ(drawn.size(), static_cast<size_t>(OutlineFrameCount));
    EXPECT_TRUE(onScreen.empty());
}

// ---- pacing ----

struct PaceRow {
    const char* name;
    std::int64_t elapsed;
    int expected;
};

class OutlinePaceTest : public ::testing::TestWithParam<PaceRow> {};

TEST_P(OutlinePaceTest, WaitsForTheRestOfTheStep) {
    EXPECT_EQ(OutlinePaceMilliseconds(GetParam().elapsed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, OutlinePaceTest,
                         ::testing::Values(PaceRow{"InstantStepWaitsTheFullStep", 0, 10},
                                           PaceRow{"OneMillisecondLeavesNine", 1, 9},
                                           PaceRow{"NineMillisecondsLeaveOne", 9, 1},
                                           PaceRow{"ExactlyTenWaitsNothing", 10, 0},
                                           PaceRow{"OverrunWaitsTheFullStep", 11, 10},
                                           PaceRow{"LongStallWaitsTheFullStep", 500, 10},
                                           PaceRow{"ClockGoingBackWaitsTheFullStep", -1, 10}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmark
