// The unit window's grip zones: where a press moves or sizes the window.
#include "ui/unit_window_position.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quenmark {
namespace {

struct GripRow {
    const char* name;
    QPoint position;
    TUnitWindowGrip grip;
    friend void PrintTo(const GripRow& row, std::ostream* os) { *os << row.name; }
};

class UnitWindowGripTest : public ::testing::TestWithParam<GripRow> {};

TEST_P(UnitWindowGripTest, FindsTheZone) {
    EXPECT_EQ(UnitWindowGripAt(GetParam().position, QSize(300, 60)), GetParam().grip);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, UnitWindowGripTest,
    ::testing::Values(GripRow{"LeftBorder", {0, 30}, TUnitWindowGrip::LeftEdge},
                      GripRow{"LeftBorderInnerPixel", {3, 30}, TUnitWindowGrip::LeftEdge},
                      GripRow{"LeftBorderInTheTitleRow", {2, 5}, TUnitWindowGrip::LeftEdge},
                      GripRow{"RightBorder", {297, 30}, TUnitWindowGrip::RightEdge},
                      GripRow{"RightmostPixel", {299, 59}, TUnitWindowGrip::RightEdge},
                      GripRow{"TitleStrip", {150, 0}, TUnitWindowGrip::Caption},
                      GripRow{"LastTitleRow", {150, 17}, TUnitWindowGrip::Caption},
                      GripRow{"BelowTheTitle", {150, 18}, TUnitWindowGrip::None},
                      GripRow{"BottomEdgeDoesNotSize", {150, 59}, TUnitWindowGrip::None},
                      GripRow{"JustInsideTheLeftBorder", {4, 30}, TUnitWindowGrip::None},
                      GripRow{"JustInsideTheRightBorder", {296, 30}, TUnitWindowGrip::None}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmark
