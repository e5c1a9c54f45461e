#include "app/screen_placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quenmark {

void PrintTo(const TScreenRect& rect, std::ostream* os) {
    *os << rect.Left << "," << rect.Top << " " << rect.Width << "x" << rect.Height;
}

namespace {

constexpr int Title = 20;
// A primary screen with a panel of 30 rows at its bottom, and a second
// screen to its right, lower and smaller.
const TScreenRect Primary{0, 0, 1280, 994};
const TScreenRect Second{1280, 200, 800, 600};
const std::vector<TScreenRect> Both{Primary, Second};
const std::vector<TScreenRect> OnlyPrimary{Primary};
// The bottom right corner of the primary screen's area for a 350 x 110 window.
const TScreenRect Corner{930, 884, 350, 110};

struct TCase {
    const char* Name;
    TScreenRect Window;
    std::vector<TScreenRect> Areas;
    std::optional<TScreenRect> Preferred;
    TScreenRect Placed;
    friend void PrintTo(const TCase& test, std::ostream* os) { *os << test.Name; }
};

const TCase Cases[] = {
    {"InsideThePrimaryStays", {100, 100, 350, 110}, Both, {}, {100, 100, 350, 110}},
    {"OnTheSecondScreenStays", {1500, 300, 350, 110}, Both, {}, {1500, 300, 350, 110}},
    {"BodyBelowTheScreenWithTheTitleOnItStays", {100, 900, 350, 110}, OnlyPrimary, {}, {100, 900, 350, 110}},
    {"TitleJustInsideTheBottomStays", {100, 974, 350, 110}, OnlyPrimary, {}, {100, 974, 350, 110}},
    {"TitleReachingIntoThePanelMoves", {100, 975, 350, 110}, OnlyPrimary, {}, Corner},
    {"AboveTheTopMoves", {100, -5, 350, 110}, OnlyPrimary, {}, Corner},
    {"LeftOfTheScreenByAllButAGripStays", {-302, 100, 350, 110}, OnlyPrimary, {}, {-302, 100, 350, 110}},
    {"LeftOfTheScreenWithLessThanAGripMoves", {-303, 100, 350, 110}, OnlyPrimary, {}, Corner},
    {"OnARemovedScreenMoves", {1500, 300, 350, 110}, OnlyPrimary, {}, Corner},
    {"AboveTheLowerSecondScreenMoves", {1500, 100, 350, 110}, Both, {}, Corner},
    {"FarAwayMoves", {5000, 5000, 350, 110}, Both, {}, Corner},
    {"TooLargeIsCutToThePrimaryArea", {3000, 3000, 1500, 1200}, Both, {}, {0, 0, 1280, 994}},
    {"PreferredOnAScreenIsTaken", {5000, 5000, 350, 110}, Both, TScreenRect{200, 300, 350, 110}, {200, 300, 350, 110}},
    {"PreferredOffEveryScreenIsNot", {5000, 5000, 350, 110}, Both, TScreenRect{200, -300, 350, 110}, Corner},
    {"OnAScreenThePreferredIsNotNeeded", {10, 10, 350, 110}, Both, TScreenRect{200, 300, 350, 110}, {10, 10, 350, 110}},
    {"WithoutScreensNothingMoves", {5000, 5000, 350, 110}, {}, {}, {5000, 5000, 350, 110}},
    {"NarrowWindowNeedsItsWholeWidth", {-1, 100, 30, 110}, OnlyPrimary, {}, {1250, 884, 30, 110}},
};

class ScreenPlacementCase : public testing::TestWithParam<TCase> {};

TEST_P(ScreenPlacementCase, PlacesTheWindow) {
    const TCase& test = GetParam();
    EXPECT_EQ(PlaceOnScreens(test.Window, Title, test.Areas, test.Preferred), test.Placed);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreenPlacementCase, testing::ValuesIn(Cases),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace quenmark
