#include "ui/quen_popup_list.h"

#include "widget_test_support.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace quenmark {
namespace {

class QuenPopupListTest : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        ShowWindow();
        FList = std::make_unique<TQuenPopupList>(Window());
        FList->SetItems({"A", "B", "C"});
        FList->SetItemHeight(18);
        FList->setGeometry(120, 140, 90, 18);
        FList->OnChange = [this](QObject*) { FChosen.push_back(FList->ItemIndex()); };
    }

    void TearDown() override { FList.reset(); }

    QPoint CenterOfRow(int row) {
        return FList->ListBox()->visualItemRect(FList->ListBox()->item(row)).center();
    }

    QWidget* Viewport() { return FList->ListBox()->viewport(); }

    std::unique_ptr<TQuenPopupList> FList;
    std::vector<int> FChosen;
};

struct RowsRow {
    const char* name;
    friend void PrintTo(const RowsRow& row, std::ostream* os) { *os << row.name; }
    int items;
    int rows;
};

class PopupRowsTest : public QuenPopupListTest, public ::testing::WithParamInterface<RowsRow> {};

TEST_P(PopupRowsTest, WindowHeightFollowsTheRows) {
    QStringList items;
    for (int i = 0; i < GetParam().items; ++i) items.append(QString::number(i));
    FList->SetItems(items);
    FList->show();
    EXPECT_EQ(FList->RowCount(), GetParam().rows);
    EXPECT_EQ(FList->geometry(), QRect(120, 140, 90, GetParam().rows * 18 + 2));
    EXPECT_EQ(FList->ListBox()->geometry(), QRect(1, 1, 88, GetParam().rows * 18));
}

INSTANTIATE_TEST_SUITE_P(Counts, PopupRowsTest,
                         ::testing::Values(RowsRow{"Empty", 0, 1}, RowsRow{"Three", 3, 3},
                                           RowsRow{"Ten", 10, 10}, RowsRow{"Eleven", 11, 10},
                                           RowsRow{"TwentyFive", 25, 10}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenPopupListTest, GrowsToItsWidestItemKeepingItsLeftEdge) {
    const QString wide = QStringLiteral("square kilometre (km2) and more");
    FList->SetItems({"A", wide});
    FList->show();
    EXPECT_EQ(FList->x(), 120);
    EXPECT_GE(FList->ListBox()->width(), FList->ListBox()->fontMetrics().horizontalAdvance(wide));
    EXPECT_EQ(FList->width(), FList->FittingWidth(90));
}

TEST_F(QuenPopupListTest, OwnerDrawnItemsAreMeasuredByTheirHandler) {
    FList->SetStyle(lbOwnerDrawFixed);
    FList->OnDrawItem = [](QWidget*, int, const QRect&, TOwnerDrawState) {};
    FList->OnMeasureItemWidth = [](int index) { return index == 1 ? 150 : 10; };
    FList->show();
    EXPECT_EQ(FList->width(), 152);
}

TEST_F(QuenPopupListTest, AWideListStaysOnTheDesktop) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    FList->SetStyle(lbOwnerDrawFixed);
    FList->OnDrawItem = [](QWidget*, int, const QRect&, TOwnerDrawState) {};
    FList->OnMeasureItemWidth = [&](int) { return desktop.width() * 2; };
    FList->show();
    EXPECT_EQ(FList->geometry().left(), desktop.left());
    EXPECT_EQ(FList->width(), desktop.width());
}

TEST_F(QuenPopupListTest, ItemsAreShownAtTheItemHeight) {
    FList->show();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(FList->ListBox()->visualItemRect(FList->ListBox()->item(row)).top(), row * 18);
        EXPECT_EQ(FList->ListBox()->visualItemRect(FList->ListBox()->item(row)).height(), 18);
    }
}

TEST_F(QuenPopupListTest, PointerSelectsTheItemUnderIt) {
    FList->show();
    QTest::mouseMove(Viewport(), CenterOfRow(1));
    EXPECT_EQ(FList->ItemIndex(), 1);
    QTest::mouseMove(Viewport(), CenterOfRow(2));
    EXPECT_EQ(FList->ItemIndex(), 2);
    // Smaller rows leave room below the last item: no selection there.
    FList->SetItemHeight(10);
    QApplication::processEvents();
    QTest::mouseMove(Viewport(), QPoint(20, 45));
    EXPECT_EQ(FList->ItemIndex(), -1);
    EXPECT_TRUE(FChosen.empty());
}

TEST_F(QuenPopupListTest, ReleaseOverAnItemChoosesIt) {
    FList->show();
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CenterOfRow(1));
    EXPECT_EQ(FChosen, std::vector<int>{1});
    EXPECT_EQ(FList->ModalResult(), mrOk);
    EXPECT_FALSE(FList->isVisible());
}

TEST_F(QuenPopupListTest, ReleaseBelowTheItemsDoesNothing) {
    FList->show();
    FList->SetItemHeight(10);
    QApplication::processEvents();
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 45));
    EXPECT_TRUE(FChosen.empty());
    EXPECT_EQ(FList->ModalResult(), mrNone);
    EXPECT_TRUE(FList->isVisible());
}

struct KeyRow {
    const char* name;
    friend void PrintTo(const KeyRow& row, std::ostream* os) { *os << row.name; }
    Qt::Key key;
    TModalResult result;
    std::vector<int> chosen;
};

class PopupKeyTest : public QuenPopupListTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(PopupKeyTest, EnterChoosesEscapeCancels) {
    FList->SetItemIndex(2);
    FList->show();
    QTest::keyClick(FList->ListBox(), GetParam().key);
    EXPECT_FALSE(FList->isVisible());
    EXPECT_EQ(FList->ModalResult(), GetParam().result);
    EXPECT_EQ(FChosen, GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Keys, PopupKeyTest,
                         ::testing::Values(KeyRow{"Return", Qt::Key_Return, mrOk, {2}},
                                           KeyRow{"Enter", Qt::Key_Enter, mrOk, {2}},
                                           KeyRow{"Escape", Qt::Key_Escape, mrCancel, {}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenPopupListTest, ArrowKeysMoveTheSelection) {
    FList->SetItemIndex(0);
    FList->show();
    QTest::keyClick(FList->ListBox(), Qt::Key_Down);
    EXPECT_EQ(FList->ItemIndex(), 1);
    EXPECT_TRUE(FList->isVisible());
}

TEST_F(QuenPopupListTest, ShowingAgainForgetsTheLastResult) {
    FList->show();
    QTest::keyClick(FList->ListBox(), Qt::Key_Escape);
    FList->show();
    EXPECT_EQ(FList->ModalResult(), mrNone);
}

TEST_F(QuenPopupListTest, OutOfRangeIndexMeansNone) {
    FList->SetItemIndex(1);
    FList->SetItemIndex(7);
    EXPECT_EQ(FList->ItemIndex(), -1);
}

TEST_F(QuenPopupListTest, FrameIsDrawnInTheWindowFrameColour) {
    FList->show();
    const QImage image = test::Snapshot(*FList);
    EXPECT_EQ(image.pixelColor(0, 0), ToQColor(clWindowFrame));
    EXPECT_EQ(image.pixelColor(89, 20), ToQColor(clWindowFrame));
    EXPECT_EQ(image.pixelColor(45, 55), ToQColor(clWindowFrame));
}

TEST_F(QuenPopupListTest, VariableOwnerDrawMeasuresEachItem) {
    FList->SetStyle(lbOwnerDrawVariable);
    FList->OnMeasureItem = [](QWidget*, int index, int& height) { height = 10 + index * 5; };
    FList->OnDrawItem = [](QWidget*, int, const QRect&, TOwnerDrawState) {};
    FList->show();
    QApplication::processEvents();
    EXPECT_EQ(FList->ListBox()->visualItemRect(FList->ListBox()->item(0)).height(), 10);
    EXPECT_EQ(FList->ListBox()->visualItemRect(FList->ListBox()->item(2)).height(), 20);
}

TEST_F(QuenPopupListTest, OwnerDrawSeesTheSelectedState) {
    FList->SetStyle(lbOwnerDrawFixed);
    std::map<int, TOwnerDrawState> states;
    FList->OnDrawItem = [&](QWidget* control, int index, const QRect&, TOwnerDrawState state) {
        EXPECT_EQ(control, FList.get());
        EXPECT_NE(FList->Canvas(), nullptr);
        states[index] = state;
    };
    FList->SetItemIndex(1);
    FList->show();
    FList->grab();
    EXPECT_TRUE(states.at(1) & odSelected);
    EXPECT_FALSE(states.at(0) & odSelected);
}

}  // namespace
}  // namespace quenmark
