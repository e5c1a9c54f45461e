// The options dialog's own controls: the numeric field rule with its
// up-down, and the drawing of a colour scheme item.
#include "ui/options_dialog_color_combo.h"
#include "ui/options_dialog_up_down.h"

#include "widget_test_support.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace quenmark {
namespace {

struct FieldRow {
    const char* name;
    const char* text;
    int value;
    friend void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }
};

class NumericFieldValueTest : public ::testing::TestWithParam<FieldRow> {};

// The font size field: 8 to 48, at 14 before the text was typed.
TEST_P(NumericFieldValueTest, FollowsTheRule) { EXPECT_EQ(NumericFieldValue(GetParam().text, 8, 48, 14), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, NumericFieldValueTest,
                         ::testing::Values(FieldRow{"InRange", "20", 20}, FieldRow{"Minimum", "8", 8},
                                           FieldRow{"Maximum", "48", 48}, FieldRow{"AboveTheMaximum", "100", 48},
                                           FieldRow{"BelowTheMinimum", "3", 8}, FieldRow{"Negative", "-5", 8},
                                           FieldRow{"Letters", "abc", 14}, FieldRow{"Empty", "", 14},
                                           FieldRow{"DecimalFraction", "12.5", 14},
                                           FieldRow{"NumberThenLetters", "12a", 14},
                                           FieldRow{"BeyondTheIntegerRange", "99999999999", 14},
                                           FieldRow{"SurroundingBlanks", " 30 ", 30}),
                         [](const auto& row) { return std::string(row.param.name); });

class UpDownTest : public ::testing::Test {
protected:
    UpDownTest() : FUpDown(8, 48, &FParent), FEdit(&FParent) {
        FUpDown.Associate(&FEdit);
        FUpDown.SetPosition(14);
    }

    void Leave() {
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(&FEdit, &leave);
    }

    QWidget FParent;
    TUpDown FUpDown;
    QLineEdit FEdit;
};

TEST_F(UpDownTest, FieldShowsThePosition) {
    EXPECT_EQ(FEdit.text(), "14");
    FUpDown.SetPosition(100);
    EXPECT_EQ(FUpDown.Position(), 48);
    EXPECT_EQ(FEdit.text(), "48");
    FUpDown.SetPosition(0);
    EXPECT_EQ(FEdit.text(), "8");
}

TEST_F(UpDownTest, LeavingTheFieldAppliesTheRule) {
    FEdit.setText("100");
    Leave();
    EXPECT_EQ(FEdit.text(), "48");
    EXPECT_EQ(FUpDown.Position(), 48);
    FEdit.setText("3");
    Leave();
    EXPECT_EQ(FEdit.text(), "8");
    FEdit.setText("20");
    Leave();
    FEdit.setText("letters");
    Leave();
    EXPECT_EQ(FEdit.text(), "20");
    EXPECT_EQ(FUpDown.Position(), 20);
}

TEST_F(UpDownTest, ArrowsStepWithinTheRange) {
    FUpDown.UpButton()->click();
    EXPECT_EQ(FUpDown.Position(), 15);
    FUpDown.DownButton()->click();
    FUpDown.DownButton()->click();
    EXPECT_EQ(FEdit.text(), "13");
    FUpDown.SetPosition(48);
    FUpDown.UpButton()->click();
    EXPECT_EQ(FUpDown.Position(), 48);
}

TEST_F(UpDownTest, ArrowKeysInTheFieldStep) {
    QTest::keyClick(&FEdit, Qt::Key_Up);
    EXPECT_EQ(FEdit.text(), "15");
    QTest::keyClick(&FEdit, Qt::Key_Down);
    QTest::keyClick(&FEdit, Qt::Key_Down);
    EXPECT_EQ(FUpDown.Position(), 13);
}

TEST_F(UpDownTest, AStepStartsFromTheTypedText) {
    FEdit.setText("30");
    FUpDown.UpButton()->click();
    EXPECT_EQ(FUpDown.Position(), 31);
}

class ColorSchemeItemTest : public ::testing::Test {
protected:
    ColorSchemeItemTest() : FImage(200, 40, QImage::Format_RGB32) {}

    // Item rectangle (0, 10) to (200, 26): the sample box spans x 1 to 24
    // (exclusive) and y 11 to 25 (exclusive).
    void Draw(bool selected) {
        FImage.fill(Qt::black);
        QPainter painter(&FImage);
        DrawColorSchemeItem(painter, QRect(0, 10, 200, 16), FScheme, selected, Background, Highlight);
    }

    QColor At(int x, int y) const { return FImage.pixelColor(x, y); }

    const QColor Background = QColor(255, 255, 255);
    const QColor Highlight = QColor(0, 0, 200);
    const TColorScheme FScheme{"Sample", RGBColor(250, 240, 200), RGBColor(100, 60, 0), RGBColor(0, 0, 0), 0};
    QImage FImage;
};

TEST_F(ColorSchemeItemTest, SampleBoxInTheSchemeColours) {
    Draw(false);
    const QColor base = ToQColor(FScheme.BaseColor);
    const QColor dark = ToQColor(FScheme.DarkColor);
    EXPECT_EQ(At(0, 10), Background);
    EXPECT_EQ(At(1, 11), dark);       // outline corner
    EXPECT_EQ(At(23, 24), dark);      // opposite corner
    EXPECT_EQ(At(24, 18), Background);  // right of the box
    EXPECT_EQ(At(10, 18), base);      // inside
}

TEST_F(ColorSchemeItemTest, MiniatureOfTheWindowInsideTheBox) {
    Draw(false);
    const QColor dark = ToQColor(FScheme.DarkColor);
    const QColor base = ToQColor(FScheme.BaseColor);
    EXPECT_EQ(At(10, 13), dark);  // the title line at S.top + 2
    EXPECT_EQ(At(3, 12), dark);   // first title stroke at S.left + 2
    EXPECT_EQ(At(21, 12), dark);  // strokes at S.right - 3 and S.right - 5
    EXPECT_EQ(At(19, 12), dark);
    EXPECT_EQ(At(20, 12), base);
    EXPECT_EQ(At(10, 20), dark);  // the input line at S.bottom - 5
    EXPECT_EQ(At(10, 21), base);
    EXPECT_EQ(At(23, 21), dark);  // the grip strokes from S.right - 1
    EXPECT_EQ(At(22, 22), dark);
    EXPECT_EQ(At(21, 23), dark);
    EXPECT_EQ(At(22, 23), dark);
    EXPECT_EQ(At(21, 22), base);
}

TEST_F(ColorSchemeItemTest, NameRightOfTheBoxInTheDarkColour) {
    Draw(false);
    int ink = 0;
    for (int y = 11; y < 26; ++y)
        for (int x = 32; x < 120; ++x)
            if (At(x, y) != Background) ++ink;
    EXPECT_GT(ink, 10);
    // Smoothed edges mix the colours; the text's body is the dark colour.
    bool dark = false;
    for (int y = 11; y < 26 && !dark; ++y)
        for (int x = 32; x < 120 && !dark; ++x) dark = At(x, y) == ToQColor(FScheme.DarkColor);
    EXPECT_TRUE(dark);
    for (int x = 25; x < 32; ++x) EXPECT_EQ(At(x, 18), Background) << x;
}

TEST_F(ColorSchemeItemTest, SelectedItemOnTheHighlight) {
    Draw(true);
    EXPECT_EQ(At(0, 10), Highlight);
    EXPECT_EQ(At(150, 25), Highlight);
    EXPECT_EQ(At(10, 18), ToQColor(FScheme.BaseColor));
}

TEST(ColorSchemeComboBoxTest, ListsTheSchemesInTableOrder) {
    TColorSchemeComboBox combo;
    ASSERT_EQ(combo.count(), static_cast<int>(ColorSchemeCount));
    for (size_t i = 0; i < ColorSchemeCount; ++i)
        EXPECT_EQ(combo.itemText(static_cast<int>(i)).toStdString(), ColorSchemes()[i].ColorName);
}

}  // namespace
}  // namespace quenmark
