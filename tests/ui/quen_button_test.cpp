#include "ui/quen_button.h"

#include "widget_test_support.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <vector>

namespace quenmark {
namespace {

using test::WindowTest;

class QuenButtonTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        FButton = new TQuenButton(Window());
        FButton->setGeometry(10, 10, 40, 20);
        FButton->SetBlink(false);
        FButton->OnClick = [this](QObject*) {
            ++FClicks;
            FStateDuringClick = FButton->DrawState();
        };
    }

    // Records the state of every face painted, through owner drawing.
    void RecordFaces() {
        FButton->SetStyle(dsOwnerDraw);
        FButton->OnDrawFace = [this](TQuenButton*, const QRect&, TQuenDrawType state, TColor,
                                     TColor) { FFaces.push_back(state); };
    }

    TQuenButton* FButton = nullptr;
    int FClicks = 0;
    TQuenDrawType FStateDuringClick = dtNormal;
    std::vector<TQuenDrawType> FFaces;
};

TEST_F(QuenButtonTest, Defaults) {
    TQuenButton button;
    EXPECT_EQ(button.ButtonStyle(), qbText);
    EXPECT_EQ(button.Style(), dsStandard);
    EXPECT_EQ(button.Text(), QString());
    EXPECT_EQ(button.Alignment(), taCenter);
    EXPECT_EQ(button.RoundSize(), 0);
    EXPECT_EQ(button.FaceColor(), clBtnFace);
    EXPECT_EQ(button.BorderColor(), clBtnText);
    EXPECT_EQ(button.TextColor(), clBtnText);
    EXPECT_EQ(button.SelectedColor(), clBtnShadow);
    EXPECT_EQ(button.PushColor(), clHighlight);
    EXPECT_TRUE(button.Blink());
    EXPECT_EQ(button.Popup(), nullptr);
    EXPECT_FALSE(button.TabStop());
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button.DrawState(), dtNormal);
}

TEST_F(QuenButtonTest, TabStopLetsTabReachTheButton) {
    FButton->SetTabStop(true);
    EXPECT_EQ(FButton->focusPolicy(), Qt::StrongFocus);
    FButton->SetTabStop(false);
    EXPECT_EQ(FButton->focusPolicy(), Qt::NoFocus);
}

struct SetterRow {
    const char* name;
    friend void PrintTo(const SetterRow& row, std::ostream* os) { *os << row.name; }
    std::function<void(TQuenButton&)> set;
};

class QuenButtonSetterTest : public QuenButtonTest,
                             public ::testing::WithParamInterface<SetterRow> {};

TEST_P(QuenButtonSetterTest, RepaintsTheButton) {
    RecordFaces();
    ShowWindow();
    QApplication::processEvents();
    FFaces.clear();
    GetParam().set(*FButton);
    QApplication::processEvents();
    EXPECT_FALSE(FFaces.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Properties, QuenButtonSetterTest,
    ::testing::Values(SetterRow{"ButtonStyle", [](TQuenButton& b) { b.SetButtonStyle(qbClose); }},
                      SetterRow{"Style", [](TQuenButton& b) { b.SetStyle(dsOwnerDraw); }},
                      SetterRow{"Text", [](TQuenButton& b) { b.SetText("X"); }},
                      SetterRow{"Alignment",
                                [](TQuenButton& b) { b.SetAlignment(taRightJustify); }},
                      SetterRow{"RoundSize", [](TQuenButton& b) { b.SetRoundSize(4); }},
                      SetterRow{"FaceColor", [](TQuenButton& b) { b.SetFaceColor(1); }},
                      SetterRow{"BorderColor", [](TQuenButton& b) { b.SetBorderColor(1); }},
                      SetterRow{"TextColor", [](TQuenButton& b) { b.SetTextColor(1); }},
                      SetterRow{"SelectedColor", [](TQuenButton& b) { b.SetSelectedColor(1); }},
                      SetterRow{"PushColor", [](TQuenButton& b) { b.SetPushColor(1); }},
                      SetterRow{"Font", [](TQuenButton& b) { b.SetFont(QFont("Arial", 20)); }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenButtonTest, FocusSelectsAndLosingItReturnsToNormal) {
    FButton->SetTabStop(true);
    ShowWindow();
    FButton->setFocus();
    EXPECT_EQ(FButton->DrawState(), dtSelected);
    FButton->clearFocus();
    EXPECT_EQ(FButton->DrawState(), dtNormal);
}

TEST_F(QuenButtonTest, PointerInsideSelectsAndFollowsUntilItLeaves) {
    ShowWindow();
    QTest::mouseMove(FButton, QPoint(5, 5));
    EXPECT_EQ(FButton->DrawState(), dtSelected);
    EXPECT_TRUE(FButton->MouseCapture());
    // The edge itself is not strictly inside.
    QTest::mouseMove(FButton, QPoint(0, 5));
    EXPECT_EQ(FButton->DrawState(), dtNormal);
    EXPECT_FALSE(FButton->MouseCapture());
    QTest::mouseMove(FButton, QPoint(20, 10));
    EXPECT_EQ(FButton->DrawState(), dtSelected);
    QTest::mouseMove(Window(), QPoint(200, 150));
    EXPECT_EQ(FButton->DrawState(), dtNormal);
    EXPECT_FALSE(FButton->MouseCapture());
}

TEST_F(QuenButtonTest, MoveEventIsPassedOnWithThePosition) {
    ShowWindow();
    QPoint seen;
    FButton->OnMouseMove = [&](QObject*, TShiftState, int x, int y) { seen = QPoint(x, y); };
    QTest::mouseMove(FButton, QPoint(7, 9));
    EXPECT_EQ(seen, QPoint(7, 9));
}

TEST_F(QuenButtonTest, ClickWithoutBlinkShowsOnlyThePushedFaceDuringTheAction) {
    RecordFaces();
    ShowWindow();
    QApplication::processEvents();
    FFaces.clear();
    FButton->Click();
    EXPECT_EQ(FClicks, 1);
    EXPECT_EQ(FStateDuringClick, dtPushed);
    // Afterwards the face is normal again, drawn selected while focused.
    EXPECT_EQ(FFaces, (std::vector<TQuenDrawType>{dtPushed, dtSelected}));
    EXPECT_TRUE(FButton->hasFocus());
}

TEST_F(QuenButtonTest, BlinkFlashesTwiceBeforeTheAction) {
    RecordFaces();
    FButton->SetBlink(true);
    ShowWindow();
    QApplication::processEvents();
    FFaces.clear();
    QElapsedTimer elapsed;
    elapsed.start();
    FButton->Click();
    EXPECT_GE(elapsed.elapsed(), 4 * TQuenButton::BlinkStepMs);
    EXPECT_EQ(FClicks, 1);
    EXPECT_EQ(FFaces,
              (std::vector<TQuenDrawType>{dtSelected, dtPushed, dtSelected, dtPushed, dtSelected}));
}

TEST_F(QuenButtonTest, PopupOpensAtTheCursorAndNeverClicks) {
    QMenu menu;
    menu.addAction("One");
    FButton->SetPopup(&menu);
    ShowWindow();
    QCursor::setPos(150, 160);
    FButton->Click();
    QTest::mouseClick(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(FClicks, 0);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(150, 160));
    menu.hide();
}

TEST_F(QuenButtonTest, FromTheKeyboardThePopupOpensBelowTheButton) {
    QMenu menu;
    menu.addAction("One");
    FButton->SetPopup(&menu);
    FButton->SetTabStop(true);
    ShowWindow();
    QCursor::setPos(150, 160);
    FButton->setFocus();
    QTest::keyClick(FButton, Qt::Key_Space);
    EXPECT_EQ(FClicks, 0);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), FButton->mapToGlobal(QPoint(0, FButton->height())));
    menu.hide();
}

TEST_F(QuenButtonTest, DestroyedPopupMenuIsForgotten) {
    auto* menu = new QMenu;
    FButton->SetPopup(menu);
    delete menu;
    EXPECT_EQ(FButton->Popup(), nullptr);
    ShowWindow();
    FButton->Click();
    EXPECT_EQ(FClicks, 1);
}

struct KeyRow {
    const char* name;
    friend void PrintTo(const KeyRow& row, std::ostream* os) { *os << row.name; }
    Qt::Key key;
    int clicks;
};

class QuenButtonKeyTest : public QuenButtonTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(QuenButtonKeyTest, EnterAndSpaceClick) {
    FButton->SetTabStop(true);
    ShowWindow();
    FButton->setFocus();
    QTest::keyClick(FButton, GetParam().key);
    EXPECT_EQ(FClicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(Keys, QuenButtonKeyTest,
                         ::testing::Values(KeyRow{"Return", Qt::Key_Return, 1},
                                           KeyRow{"Enter", Qt::Key_Enter, 1},
                                           KeyRow{"Space", Qt::Key_Space, 1},
                                           KeyRow{"Letter", Qt::Key_A, 0},
                                           KeyRow{"Escape", Qt::Key_Escape, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenButtonTest, ReleaseInsideClicksReleaseOutsideDoesNot) {
    ShowWindow();
    QTest::mouseClick(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(FClicks, 1);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_EQ(FClicks, 1);
    QTest::mouseClick(FButton, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(FClicks, 1);
}

TEST_F(QuenButtonTest, MouseButtonEventsCarryButtonShiftAndPosition) {
    ShowWindow();
    std::vector<std::tuple<char, TMouseButton, TShiftState, int, int>> events;
    FButton->OnMouseDown = [&](QObject*, TMouseButton b, TShiftState s, int x, int y) {
        events.emplace_back('D', b, s, x, y);
    };
    FButton->OnMouseUp = [&](QObject*, TMouseButton b, TShiftState s, int x, int y) {
        events.emplace_back('U', b, s, x, y);
    };
    QTest::mouseClick(FButton, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 4));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::make_tuple('D', mbRight, TShiftState(ssRight | ssShift), 3, 4));
    EXPECT_EQ(events[1], std::make_tuple('U', mbRight, TShiftState(ssRight | ssShift), 3, 4));
}

TEST_F(QuenButtonTest, DoubleClickFiresOnDblClickWithTheDoubleFlag) {
    ShowWindow();
    int doubleClicks = 0;
    TShiftState downShift = 0;
    FButton->OnDblClick = [&](QObject*) { ++doubleClicks; };
    FButton->OnMouseDown = [&](QObject*, TMouseButton, TShiftState s, int, int) { downShift = s; };
    QTest::mouseDClick(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(downShift & ssDouble);
}

TEST_F(QuenButtonTest, ClickHandlerMayDestroyTheButton) {
    ShowWindow();
    QPointer<TQuenButton> button(FButton);
    FButton->OnClick = [this](QObject*) { delete FButton; };
    button->Click();
    EXPECT_TRUE(button.isNull());
}

}  // namespace
}  // namespace quenmark
