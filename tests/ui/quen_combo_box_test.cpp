#include "ui/quen_combo_box.h"

#include "widget_test_support.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <set>

namespace quenmark {
namespace {

QStringList Numbered(int count) {
    QStringList items;
    for (int i = 0; i < count; ++i) items.append(QString("Item %1").arg(i));
    return items;
}

class QuenComboBoxTest : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        FCombo = new TQuenComboBox(Window());
        FCombo->setGeometry(10, 30, 120, 20);
        FCombo->SetItems({"DEC", "HEX", "OCT", "BIN"});
        FCombo->OnChange = [this](QObject*) { FChanges.push_back(FCombo->ItemIndex()); };
    }

    // The list the selector drops down (shown by the call).
    TQuenPopupList* DropDown() {
        FCombo->Click();
        return FCombo->PopupList();
    }

    TQuenComboBox* FCombo = nullptr;
    std::vector<int> FChanges;
};

TEST_F(QuenComboBoxTest, Defaults) {
    TQuenComboBox combo;
    EXPECT_TRUE(combo.Items().isEmpty());
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Alignment(), taLeftJustify);
    EXPECT_EQ(combo.PopupList(), nullptr);
}

struct IndexRow {
    const char* name;
    friend void PrintTo(const IndexRow& row, std::ostream* os) { *os << row.name; }
    int assigned;
    int index;
    const char* text;
};

class ComboItemIndexTest : public QuenComboBoxTest,
                           public ::testing::WithParamInterface<IndexRow> {};

TEST_P(ComboItemIndexTest, ShowsTheItemAndFiresOnChange) {
    FCombo->SetItemIndex(GetParam().assigned);
    EXPECT_EQ(FCombo->ItemIndex(), GetParam().index);
    EXPECT_EQ(FCombo->Text(), QString(GetParam().text));
    EXPECT_EQ(FChanges, std::vector<int>{GetParam().index});
}

INSTANTIATE_TEST_SUITE_P(Assignments, ComboItemIndexTest,
                         ::testing::Values(IndexRow{"First", 0, 0, "DEC"},
                                           IndexRow{"Last", 3, 3, "BIN"},
                                           IndexRow{"NoneClearsTheText", -1, -1, ""},
                                           IndexRow{"BelowRangeMeansNone", -5, -1, ""},
                                           IndexRow{"PastTheEndMeansNone", 4, -1, ""}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenComboBoxTest, OnChangeFiresAlsoForTheSameIndex) {
    FCombo->SetItemIndex(2);
    FCombo->SetItemIndex(2);
    EXPECT_EQ(FChanges, (std::vector<int>{2, 2}));
}

TEST_F(QuenComboBoxTest, AssigningItemsCopiesThem) {
    QStringList items{"A", "B"};
    FCombo->SetItems(items);
    items.append("C");
    EXPECT_EQ(FCombo->Items(), (QStringList{"A", "B"}));
}

struct ArrowRow {
    const char* name;
    friend void PrintTo(const ArrowRow& row, std::ostream* os) { *os << row.name; }
    int start;
    Qt::Key key;
    std::vector<int> changes;
};

class ComboArrowTest : public QuenComboBoxTest, public ::testing::WithParamInterface<ArrowRow> {};

TEST_P(ComboArrowTest, ArrowKeysStepThroughTheItems) {
    FCombo->SetTabStop(true);
    ShowWindow();
    FCombo->SetItemIndex(GetParam().start);
    FChanges.clear();
    FCombo->setFocus();
    QTest::keyClick(FCombo, GetParam().key);
    EXPECT_EQ(FChanges, GetParam().changes);
}

// Stepping off either end passes through "no selection" and comes back:
// OnChange fires twice.
INSTANTIATE_TEST_SUITE_P(Keys, ComboArrowTest,
                         ::testing::Values(ArrowRow{"UpInTheMiddle", 2, Qt::Key_Up, {1}},
                                           ArrowRow{"UpAtTheFirstItem", 0, Qt::Key_Up, {-1, 0}},
                                           ArrowRow{"UpWithoutSelection", -1, Qt::Key_Up, {-1, 0}},
                                           ArrowRow{"DownInTheMiddle", 1, Qt::Key_Down, {2}},
                                           ArrowRow{"DownAtTheLastItem", 3, Qt::Key_Down, {-1, 3}},
                                           ArrowRow{"DownWithoutSelection", -1, Qt::Key_Down, {0}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenComboBoxTest, EnterAndSpaceDropTheListDown) {
    FCombo->SetTabStop(true);
    ShowWindow();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        FCombo->setFocus();
        QTest::keyClick(FCombo, key);
        ASSERT_NE(FCombo->PopupList(), nullptr);
        EXPECT_TRUE(FCombo->PopupList()->isVisible()) << key;
        FCombo->PopupList()->hide();
    }
}

TEST_F(QuenComboBoxTest, ClickingWhileOpenClosesTheListAndReusesIt) {
    ShowWindow();
    TQuenPopupList* list = DropDown();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    FCombo->Click();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(DropDown(), list);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->Items(), FCombo->Items());
    list->hide();
}

TEST_F(QuenComboBoxTest, ListDropsBelowTheSelectorAndShowsTheChoice) {
    ShowWindow();
    FCombo->SetItemIndex(2);
    TQuenPopupList* list = DropDown();
    const QPoint origin = FCombo->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(list->geometry(), QRect(origin.x(), origin.y() + 20, 120, 4 * 20 + 2));
    EXPECT_EQ(list->ItemHeight(), 20);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_TRUE(list->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    list->hide();
}

TEST_F(QuenComboBoxTest, EnterRightAfterDroppingDownKeepsTheChoice) {
    ShowWindow();
    FCombo->SetItemIndex(1);
    FChanges.clear();
    TQuenPopupList* list = DropDown();
    QTest::keyClick(list->ListBox(), Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(FCombo->ItemIndex(), 1);
    EXPECT_EQ(FChanges, std::vector<int>{1});
}

TEST_F(QuenComboBoxTest, ChoosingInTheListSetsTheIndex) {
    ShowWindow();
    TQuenPopupList* list = DropDown();
    const QRect third = list->ListBox()->visualItemRect(list->ListBox()->item(2));
    QTest::mouseMove(list->ListBox()->viewport(), third.center());
    QTest::mouseClick(list->ListBox()->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    EXPECT_EQ(FCombo->ItemIndex(), 2);
    EXPECT_EQ(FCombo->Text(), QString("OCT"));
    EXPECT_EQ(FChanges, std::vector<int>{2});
    EXPECT_EQ(list->ModalResult(), mrOk);
    EXPECT_FALSE(list->isVisible());
}

TEST_F(QuenComboBoxTest, EscapeLeavesTheChoiceAlone) {
    ShowWindow();
    FCombo->SetItemIndex(3);
    FChanges.clear();
    TQuenPopupList* list = DropDown();
    QTest::keyClick(list->ListBox(), Qt::Key_Down);
    QTest::keyClick(list->ListBox(), Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->ModalResult(), mrCancel);
    EXPECT_EQ(FCombo->ItemIndex(), 3);
    EXPECT_TRUE(FChanges.empty());
}

struct RowsRow {
    const char* name;
    friend void PrintTo(const RowsRow& row, std::ostream* os) { *os << row.name; }
    int items;
    int rows;
};

class ComboRowsTest : public QuenComboBoxTest, public ::testing::WithParamInterface<RowsRow> {};

TEST_P(ComboRowsTest, ListIsAtMostTenRowsHigh) {
    ShowWindow();
    FCombo->SetItems(Numbered(GetParam().items));
    TQuenPopupList* list = DropDown();
    EXPECT_EQ(list->RowCount(), GetParam().rows);
    EXPECT_EQ(list->height(), GetParam().rows * 20 + 2);
    EXPECT_EQ(list->ListBox()->count(), GetParam().items);
    list->hide();
}

INSTANTIATE_TEST_SUITE_P(Counts, ComboRowsTest,
                         ::testing::Values(RowsRow{"EmptyShowsOneRow", 0, 1}, RowsRow{"One", 1, 1},
                                           RowsRow{"Ten", 10, 10},
                                           RowsRow{"TwentyFiveScrollInTen", 25, 10}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(QuenComboBoxTest, ListMovesUpAndLeftToStayOnTheDesktop) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    Window()->setGeometry(desktop.right() - 60, desktop.bottom() - 80, 100, 60);
    FCombo->setGeometry(0, 30, 100, 20);
    FCombo->SetItems(Numbered(25));
    ShowWindow();
    TQuenPopupList* list = DropDown();
    const int height = 10 * 20 + 2;
    EXPECT_EQ(list->geometry(),
              QRect(desktop.right() + 1 - 100, desktop.bottom() + 1 - height, 100, height));
    list->hide();
}

TEST_F(QuenComboBoxTest, ListThatFitsIsNotMoved) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    Window()->setGeometry(desktop.left() + 10, desktop.top() + 10, 200, 100);
    ShowWindow();
    TQuenPopupList* list = DropDown();
    EXPECT_EQ(list->geometry().topLeft(), FCombo->mapToGlobal(QPoint(0, 20)));
    list->hide();
}

TEST_F(QuenComboBoxTest, ClosingTheListFromOutsideCancels) {
    ShowWindow();
    TQuenPopupList* list = DropDown();
    list->close();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->ModalResult(), mrCancel);
    EXPECT_TRUE(FChanges.empty());
}

TEST_F(QuenComboBoxTest, OwnerDrawnSelectorDrawsTheListItems) {
    ShowWindow();
    std::set<int> drawn;
    bool hadCanvas = true;
    FCombo->SetStyle(dsOwnerDraw);
    FCombo->OnDrawItem = [&](QWidget*, int index, const QRect& rect, TOwnerDrawState) {
        drawn.insert(index);
        hadCanvas = hadCanvas && FCombo->Canvas() != nullptr;
        FCombo->Canvas()->fillRect(rect, Qt::red);
    };
    TQuenPopupList* list = DropDown();
    EXPECT_EQ(list->Style(), lbOwnerDrawFixed);
    const QImage image = list->grab().toImage();
    EXPECT_EQ(drawn, (std::set<int>{0, 1, 2, 3}));
    EXPECT_TRUE(hadCanvas);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(FCombo->Canvas(), nullptr);
    list->hide();
}

TEST_F(QuenComboBoxTest, ListTakesTheSelectorsFont) {
    ShowWindow();
    QFont font("Times New Roman", 13);
    font.setBold(true);
    font.setItalic(true);
    FCombo->SetFont(font);
    TQuenPopupList* list = DropDown();
    EXPECT_EQ(list->font().family(), font.family());
    EXPECT_EQ(list->font().pointSize(), 13);
    EXPECT_TRUE(list->font().bold());
    EXPECT_TRUE(list->font().italic());
    list->hide();
}

TEST_F(QuenComboBoxTest, ListEndsWithTheSelector) {
    ShowWindow();
    QPointer<TQuenPopupList> list(DropDown());
    list->hide();
    delete FCombo;
    EXPECT_TRUE(list.isNull());
}

}  // namespace
}  // namespace quenmark
