#include "ui/color_ref.h"

#include "widget_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace quenmark {
namespace {

TEST(ColorRefTest, RedIsTheLowByte) {
    EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(ToQColor(0x00563412u), QColor(0x12, 0x34, 0x56));
}

TEST(ColorRefTest, PaletteRelativeMarkerDoesNotChangeTheColour) {
    EXPECT_EQ(ToQColor(PaletteRelativeFlag | RGBColor(200, 10, 20)), QColor(200, 10, 20));
    EXPECT_EQ(ColorToRGB(PaletteRelativeFlag | 0x00ABCDEFu), 0x00ABCDEFu);
}

struct ComplementRow {
    const char* name;
    friend void PrintTo(const ComplementRow& row, std::ostream* os) { *os << row.name; }
    TColor color;
    TColor complement;
};

class ComplementColorTest : public ::testing::TestWithParam<ComplementRow> {};

TEST_P(ComplementColorTest, InvertsTheLow24BitsAndMarksPaletteRelative) {
    EXPECT_EQ(ComplementColor(GetParam().color), GetParam().complement);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ComplementColorTest,
    ::testing::Values(ComplementRow{"WhiteBecomesBlack", RGBColor(255, 255, 255), 0x02000000u},
                      ComplementRow{"BlackBecomesWhite", RGBColor(0, 0, 0), 0x02FFFFFFu},
                      ComplementRow{"RedBecomesCyan", RGBColor(255, 0, 0), 0x02FFFF00u},
                      ComplementRow{"MarkerOfTheInputIsDropped", 0x02123456u, 0x02EDCBA9u}),
    [](const auto& row) { return std::string(row.param.name); });

// Replaces the application palette for one test.
class PaletteScope {
public:
    explicit PaletteScope(const QPalette& palette) : FSaved(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~PaletteScope() { QApplication::setPalette(FSaved); }

private:
    QPalette FSaved;
};

TEST(ColorRefTest, SystemColoursFollowThePalette) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    PaletteScope scope(palette);
    EXPECT_EQ(ToQColor(clBtnFace), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clBtnText), QColor(4, 5, 6));
    EXPECT_EQ(ColorToRGB(clHighlight), RGBColor(7, 8, 9));
    EXPECT_EQ(ComplementColor(clHighlight), PaletteRelativeFlag | RGBColor(248, 247, 246));
}

TEST(ColorRefTest, QtColourRoundTrip) {
    const QColor color(17, 99, 240);
    EXPECT_EQ(FromQColor(color), RGBColor(17, 99, 240));
    EXPECT_EQ(ToQColor(FromQColor(color)), color);
}

}  // namespace
}  // namespace quenmark
