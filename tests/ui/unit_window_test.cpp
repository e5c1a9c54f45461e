// The unit-conversion window on the offscreen platform: its groups and
// selectors, conversions, AUTO mode, keys, layout, title and placement.
#include "ui/unit_window.h"

#include "widget_test_support.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>

#include <filesystem>
#include <memory>

#include "app/settings.h"
#include "base/context.h"
#include "definitions/language.h"
#include "definitions/temp_directory.h"
#include "ui/quen_combo_box.h"
#include "ui/unit_name_painter.h"

namespace quenmark {
namespace {

const char* const UnitFile =
    "[Information]\n"
    "Purpose=Quenmark Version 1.1 Unit Convertor Definition File\n"
    "\n"
    "[Font]\n"
    "Font0=Liberation Sans\n"
    "Font1=Liberation Serif\n"
    "\n"
    "[Units]\n"
    "---\n"
    "GroupName:Length\n"
    "BaseUnit:metre (m)\n"
    "\tkilometre (km)\t1000\n"
    "\tmillimetre (mm)\t0.001\n"
    "\tbroken (x)\t0\n"
    "---\n"
    "GroupName:Area\n"
    "BaseUnit:square metre (m<u>2</u>)\n"
    "\thectare (ha)\t10000\n";

constexpr TColor Base = RGBColor(240, 230, 200);
constexpr TColor Dark = RGBColor(90, 60, 20);
constexpr TColor Text = RGBColor(10, 10, 120);

class UnitWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDirectory.Write("Quenmark.uni", UnitFile);
        FSettings = std::make_unique<TSettings>(FDirectory.PathOf("Quenmark.ini"));
        FSettings->UnitPlacement = {100, 100, 300, 60, false};
        FSettings->WindowAnime = false;
        FSettings->FontName = "Liberation Sans";
        FSettings->FontSize = 12;
        FSettings->ColorScheme = {"Test", Base, Dark, Text, 0};
        FLanguage = TCCLanguage::CreateBuiltIn(FContext, FDirectory.Path());
    }

    TfrmCalUnit& Window() {
        if (!FWindow) FWindow = std::make_unique<TfrmCalUnit>(*FSettings, FContext, *FLanguage);
        return *FWindow;
    }

    static void SelectUnit(TQuenComboBox& selector, const char* name) {
        const int index = static_cast<int>(selector.Items().indexOf(QString::fromUtf8(name)));
        ASSERT_GE(index, 0) << name;
        selector.SetItemIndex(index);
    }

    QString Converted(const char* source, const char* from, const char* to) {
        TfrmCalUnit& window = Window();
        SelectUnit(*window.cmbFromUnit, from);
        SelectUnit(*window.cmbToUnit, to);
        window.SetSourceText(QString::fromUtf8(source));
        window.Convert();
        return window.edtToVar->text();
    }

    void ShowWindow() {
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }

    quenmark::testing::TempDirectory FDirectory;
    TCCContext FContext;
    std::unique_ptr<TSettings> FSettings;
    std::unique_ptr<TCCLanguage> FLanguage;
    std::unique_ptr<TfrmCalUnit> FWindow;
};

TEST_F(UnitWindowTest, CreationListsTheGroupsAndSelectsTheFirstUnits) {
    TfrmCalUnit& window = Window();
    EXPECT_EQ(window.cmbGroup->Items(), (QStringList{"Length", "Area"}));
    EXPECT_EQ(window.cmbGroup->ItemIndex(), 0);
    const QStringList lengths{"metre (m)", "kilometre (km)", "millimetre (mm)", "broken (x)"};
    EXPECT_EQ(window.cmbFromUnit->Items(), lengths);
    EXPECT_EQ(window.cmbToUnit->Items(), lengths);
    EXPECT_EQ(window.cmbFromUnit->Text(), "metre (m)");
    EXPECT_EQ(window.cmbToUnit->Text(), "metre (m)");
    EXPECT_EQ(window.edtToVar->text(), "---");  // nothing typed yet
}

struct WindowConversionRow {
    const char* name;
    const char* source;
    const char* from;
    const char* to;
    const char* shown;
    friend void PrintTo(const WindowConversionRow& row, std::ostream* os) { *os << row.name; }
};

class UnitWindowConversionTest : public UnitWindowTest,
                                 public ::testing::WithParamInterface<WindowConversionRow> {};

TEST_P(UnitWindowConversionTest, ShowsTheResult) {
    EXPECT_EQ(Converted(GetParam().source, GetParam().from, GetParam().to), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, UnitWindowConversionTest,
    ::testing::Values(
        WindowConversionRow{"KilometresToMillimetresInFullDigits", "3", "kilometre (km)", "millimetre (mm)", "3000000"},
        WindowConversionRow{"MillimetresToKilometres", "1", "millimetre (mm)", "kilometre (km)", "1E-6"},
        WindowConversionRow{"EmptyField", "", "kilometre (km)", "metre (m)", "---"},
        WindowConversionRow{"TextBeginningWithALetter", "km", "kilometre (km)", "metre (m)", "---"},
        WindowConversionRow{"NumberThenAWord", "12 abc", "kilometre (km)", "metre (m)", "---"},
        WindowConversionRow{"AnExpression", "2*3", "kilometre (km)", "metre (m)", "6000"},
        WindowConversionRow{"AnIncompleteExpression", "2*", "kilometre (km)", "metre (m)", "---"},
        WindowConversionRow{"NumberThenARejectedCharacter", "12 $", "kilometre (km)", "metre (m)", "---"},
        WindowConversionRow{"ZeroFactor", "5", "metre (m)", "broken (x)", "---"},
        WindowConversionRow{"NegativeNumber", "-2", "kilometre (km)", "metre (m)", "-2000"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(UnitWindowTest, ChoosingAUnitConverts) {
    TfrmCalUnit& window = Window();
    window.SetSourceText("2");
    SelectUnit(*window.cmbFromUnit, "kilometre (km)");
    EXPECT_EQ(window.edtToVar->text(), "2000");
    SelectUnit(*window.cmbToUnit, "millimetre (mm)");
    EXPECT_EQ(window.edtToVar->text(), "2000000");
}

TEST_F(UnitWindowTest, ChangingTheGroupRefillsBothSelectorsAndConverts) {
    TfrmCalUnit& window = Window();
    window.SetSourceText("3");
    window.cmbGroup->SetItemIndex(1);
    const QStringList areas{"square metre (m<u>2</u>)", "hectare (ha)"};
    EXPECT_EQ(window.cmbFromUnit->Items(), areas);
    EXPECT_EQ(window.cmbToUnit->Items(), areas);
    EXPECT_EQ(window.cmbFromUnit->ItemIndex(), 0);
    EXPECT_EQ(window.cmbToUnit->ItemIndex(), 0);
    EXPECT_EQ(window.SelectedGroup()->Name, "Area");
    EXPECT_EQ(window.edtToVar->text(), "3");
    SelectUnit(*window.cmbFromUnit, "hectare (ha)");
    EXPECT_EQ(window.edtToVar->text(), "30000");
}

TEST_F(UnitWindowTest, EachKeystrokeConverts) {
    ShowWindow();
    TfrmCalUnit& window = Window();
    SelectUnit(*window.cmbFromUnit, "kilometre (km)");
    QTest::keyClicks(window.edtFromVar, QStringLiteral("2*"));
    EXPECT_EQ(window.edtToVar->text(), "---");
    QTest::keyClicks(window.edtFromVar, QStringLiteral("3"));
    EXPECT_EQ(window.edtToVar->text(), "6000");
    QTest::keyClick(window.edtFromVar, Qt::Key_Backspace);
    EXPECT_EQ(window.edtToVar->text(), "---");
}

TEST_F(UnitWindowTest, EnterInTheSourceFieldConverts) {
    TfrmCalUnit& window = Window();
    SelectUnit(*window.cmbFromUnit, "kilometre (km)");
    window.edtFromVar->setText("4");
    QTest::keyClick(window.edtFromVar, Qt::Key_Return);
    EXPECT_EQ(window.edtToVar->text(), "4000");
    EXPECT_EQ(window.edtFromVar->text(), "4");
}

TEST_F(UnitWindowTest, EnterOnASelectorConvertsInsteadOfDroppingItDown) {
    TfrmCalUnit& window = Window();
    window.edtFromVar->setText("7");
    QTest::keyClick(window.cmbToUnit, Qt::Key_Enter);
    EXPECT_EQ(window.edtToVar->text(), "7");
    EXPECT_EQ(window.cmbToUnit->PopupList(), nullptr);
}

TEST_F(UnitWindowTest, LeavingTheSourceFieldConverts) {
    TfrmCalUnit& window = Window();
    SelectUnit(*window.cmbToUnit, "millimetre (mm)");
    window.edtFromVar->setText("0.5");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(window.edtFromVar, &leave);
    EXPECT_EQ(window.edtToVar->text(), "500");
}

TEST_F(UnitWindowTest, EscapeHidesWhenReleased) {
    ShowWindow();
    FSettings->UnitPlacement.Show = true;
    TfrmCalUnit& window = Window();
    QTest::keyPress(window.edtFromVar, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    QTest::keyRelease(window.edtFromVar, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(FSettings->UnitPlacement.Show);
}

TEST_F(UnitWindowTest, EscapeReleasedWithoutItsPressDoesNotHide) {
    ShowWindow();
    QTest::keyRelease(Window().edtFromVar, Qt::Key_Escape);
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(UnitWindowTest, HideButtonHidesAndRecordsIt) {
    ShowWindow();
    FSettings->UnitPlacement.Show = true;
    Window().btnHide->Click();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(FSettings->UnitPlacement.Show);
}

TEST_F(UnitWindowTest, AutoCaptionFollowsTheStoredMode) {
    FSettings->AutoUnit = true;
    EXPECT_EQ(Window().btnAuto->Text(), "AUTO");
    EXPECT_TRUE(FSettings->AutoUnit);
    FWindow.reset();
    FSettings->AutoUnit = false;
    EXPECT_EQ(Window().btnAuto->Text(), "MANUAL");
    EXPECT_FALSE(FSettings->AutoUnit);
}

TEST_F(UnitWindowTest, AutoButtonTogglesTheMode) {
    FSettings->AutoUnit = true;
    TfrmCalUnit& window = Window();
    window.btnAuto->Click();
    EXPECT_FALSE(FSettings->AutoUnit);
    EXPECT_EQ(window.btnAuto->Text(), "MANUAL");
    window.btnAuto->Click();
    EXPECT_TRUE(FSettings->AutoUnit);
    EXPECT_EQ(window.btnAuto->Text(), "AUTO");
}

TEST_F(UnitWindowTest, AutoButtonIsWideEnoughForTheLongerCaption) {
    FSettings->AutoUnit = false;
    TfrmCalUnit& window = Window();
    const QFontMetrics metrics(window.btnAuto->Font());
    // The caption is drawn inside the face, two pixels in from each side.
    EXPECT_GT(window.btnAuto->width() - 4, metrics.horizontalAdvance(window.btnAuto->Text()));
    EXPECT_EQ(window.btnAuto->x() + window.btnAuto->width() + 1, window.btnHide->x());
}

TEST_F(UnitWindowTest, DroppedDownUnitListShowsTheWidestNameWhole) {
    FSettings->UnitPlacement.Width = 140;
    ShowWindow();
    TQuenComboBox& selector = *Window().cmbToUnit;
    selector.Click();
    TQuenPopupList* list = selector.PopupList();
    ASSERT_NE(list, nullptr);
    int widest = 0;
    for (const QString& name : selector.Items())
        widest = std::max(widest, UnitNameWidth(name.toStdString(), FLanguage->GetUnits().Fonts(), FSettings->FontSize));
    EXPECT_GE(list->width(), selector.width());
    // The name starts 4 pixels into its row.
    EXPECT_GE(list->ListBox()->width(), 4 + widest);
    EXPECT_EQ(list->x(), selector.mapToGlobal(QPoint(0, 0)).x());
    list->hide();
}

TEST_F(UnitWindowTest, TransferredTextIsConvertedAsItStands) {
    TfrmCalUnit& window = Window();
    SelectUnit(*window.cmbFromUnit, "kilometre (km)");
    window.SetSourceText("2");
    window.Convert();
    EXPECT_EQ(window.SourceText(), "2");
    EXPECT_EQ(window.edtToVar->text(), "2000");
    window.SetSourceText("-2");
    window.Convert();
    EXPECT_EQ(window.SourceText(), "-2");
    EXPECT_EQ(window.edtToVar->text(), "-2000");
}

TEST_F(UnitWindowTest, SourceFieldTakesAtMostFortyCharacters) {
    TfrmCalUnit& window = Window();
    window.edtFromVar->setText(QString(50, '1'));
    EXPECT_EQ(window.SourceText().size(), 40);
    EXPECT_TRUE(window.edtToVar->isReadOnly());
    EXPECT_EQ(window.edtFromVar->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

// The widest unit name of every group, as the selectors draw it.
int WidestUnitName(const TCCUnitGroupList& units, int fontSize) {
    int widest = 0;
    for (size_t g = 0; g < units.Count(); ++g)
        for (size_t u = 0; u < units.Items(g).Count(); ++u)
            widest = std::max(widest, UnitNameWidth(units.Items(g).Items(u).Name, units.Fonts(), fontSize));
    return widest;
}

TEST_F(UnitWindowTest, RowsFollowTheMeasuredTextHeight) {
    TfrmCalUnit& window = Window();
    const int t = QFontMetrics(window.lblLT->font()).height();
    const int h = t + t / 4;
    // The selectors take the room their longest name needs beside the arrow
    // (the row height), 2 + 4 pixels in front of the name and behind it.
    const int selector = WidestUnitName(FLanguage->GetUnits(), FSettings->FontSize) + 12 + h;
    const int shape = std::min(180, 300 - 8 - selector);
    EXPECT_EQ(window.lblLT->text(), ">gl");
    EXPECT_EQ(window.cmbGroup->geometry(), QRect(3, 20, 294, h));
    EXPECT_EQ(window.shpFromVar, QRect(3, 20 + h + 3, shape, h));
    EXPECT_EQ(window.edtFromVar->geometry(), QRect(6, 20 + h + 4, shape - 6, h - 2));
    EXPECT_EQ(window.cmbFromUnit->geometry(), QRect(3 + shape + 2, 20 + h + 3, 300 - 8 - shape, h));
    const int lowerTop = 20 + 2 * (h + 3);
    EXPECT_EQ(window.shpToVar, QRect(3, lowerTop, shape, h));
    EXPECT_EQ(window.edtToVar->geometry(), QRect(6, lowerTop + 1, shape - 6, h - 2));
    EXPECT_EQ(window.cmbToUnit->geometry(), QRect(3 + shape + 2, lowerTop, 300 - 8 - shape, h));
    EXPECT_EQ(window.height(), lowerTop + h + 3);
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    EXPECT_EQ(window.width(), 300);
}

TEST_F(UnitWindowTest, NarrowedTheWindowStillShowsTheLongestUnitNameWhole) {
    FSettings->UnitPlacement.Width = 140;
    TfrmCalUnit& window = Window();
    const int h = window.cmbToUnit->height();
    const int needed = WidestUnitName(FLanguage->GetUnits(), FSettings->FontSize) + 12 + h;
    EXPECT_EQ(window.cmbToUnit->width(), needed);
    EXPECT_EQ(window.edtToVar->width(), 96 - 6);  // the narrowest number field
    window.resize(100, window.height());
    EXPECT_EQ(window.width(), window.minimumWidth());
    EXPECT_EQ(window.cmbFromUnit->width(), needed);
}

TEST_F(UnitWindowTest, ResizingLaysTheRowsOutAgain) {
    ShowWindow();
    TfrmCalUnit& window = Window();
    window.resize(401, window.height());
    EXPECT_EQ(window.shpFromVar.width(), 401 * 3 / 5);
    EXPECT_EQ(window.edtToVar->x(), 6);
    EXPECT_EQ(window.edtToVar->width(), 401 * 3 / 5 - 6);
    EXPECT_EQ(window.cmbToUnit->x(), 3 + 401 * 3 / 5 + 2);
    EXPECT_EQ(window.cmbToUnit->x() + window.cmbToUnit->width(), 401 - 3);
    EXPECT_EQ(window.cmbGroup->width(), 401 - 6);
    EXPECT_EQ(window.btnHide->x() + window.btnHide->width(), 401 - 2);
    EXPECT_LT(window.btnAuto->x() + window.btnAuto->width(), window.btnHide->x());
}

TEST_F(UnitWindowTest, WindowTakesTheColoursOfTheScheme) {
    TfrmCalUnit& window = Window();
    for (TQuenButton* control : {window.btnAuto, window.btnHide, static_cast<TQuenButton*>(window.cmbGroup),
                                 static_cast<TQuenButton*>(window.cmbToUnit)}) {
        EXPECT_EQ(control->FaceColor(), Base);
        EXPECT_EQ(control->BorderColor(), Dark);
        EXPECT_EQ(control->SelectedColor(), Dark);
        EXPECT_EQ(control->TextColor(), Dark);
    }
    EXPECT_EQ(window.edtFromVar->palette().color(QPalette::Text), ToQColor(Text));
    EXPECT_EQ(window.edtToVar->palette().color(QPalette::Text), ToQColor(Dark));
    const QImage image = test::Snapshot(window);
    EXPECT_EQ(test::PixelAt(image, 0, 0), ToQColor(Dark));
    EXPECT_EQ(test::PixelAt(image, window.shpFromVar.x() + window.shpFromVar.width() / 2, window.shpFromVar.y()),
              ToQColor(Dark));
}

TEST_F(UnitWindowTest, InactiveApplicationDimsTheSourceText) {
    TfrmCalUnit& window = Window();
    window.SetApplicationActive(false);
    EXPECT_EQ(window.edtFromVar->palette().color(QPalette::Text), ToQColor(Dark));
    window.SetApplicationActive(true);
    EXPECT_EQ(window.edtFromVar->palette().color(QPalette::Text), ToQColor(Text));
}

// Dark pixels of the title strip outside the rows of the title stripes:
// only the title text puts any there.
int TitleInk(TfrmCalUnit& window) {
    const QImage image = test::Snapshot(window);
    int count = 0;
    for (int y = 1; y < 17; ++y) {
        if (y == 4 || y == 7 || y == 10 || y == 13) continue;
        for (int x = 3; x < window.btnAuto->x() - 2; ++x)
            if (test::PixelAt(image, x, y) == ToQColor(Dark)) ++count;
    }
    return count;
}

TEST_F(UnitWindowTest, TitleIsWrittenFromTwoHundredTenPixels) {
    // Small unit names, so that the window may be narrowed below 210.
    FSettings->FontSize = 8;
    TfrmCalUnit& window = Window();
    ASSERT_LT(window.minimumWidth(), 209);
    window.resize(210, window.height());
    EXPECT_GT(TitleInk(window), 0);
    window.resize(209, window.height());
    EXPECT_EQ(TitleInk(window), 0);
}

TEST_F(UnitWindowTest, UnitSelectorFacesDrawTheNameInTheTextColour) {
    TfrmCalUnit& window = Window();
    const QImage image = test::Snapshot(*window.cmbFromUnit);
    int ink = 0;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 6; x < 40; ++x)
            if (test::PixelAt(image, x, y) != ToQColor(Base)) ++ink;
    EXPECT_GT(ink, 0);
}

TEST_F(UnitWindowTest, PlacementIsRecordedOnlyWhileVisible) {
    TfrmCalUnit& window = Window();
    window.move(150, 120);
    EXPECT_EQ(FSettings->UnitPlacement.Left, 100);
    ShowWindow();
    EXPECT_EQ(FSettings->UnitPlacement.Height, window.height());
    window.move(160, 130);
    window.resize(320, window.height());
    EXPECT_EQ(FSettings->UnitPlacement.Left, 160);
    EXPECT_EQ(FSettings->UnitPlacement.Top, 130);
    EXPECT_EQ(FSettings->UnitPlacement.Width, 320);
}

// A saved place narrower than the window's names need: the window keeps the
// place's right edge, where its buttons are, and grows to the left.
TEST_F(UnitWindowTest, AWindowWiderThanItsSavedPlaceGrowsToTheLeft) {
    FSettings->UnitPlacement = {400, 200, 100, 60, false};
    TfrmCalUnit& window = Window();
    ASSERT_GT(window.width(), 100);
    EXPECT_EQ(window.x() + window.width(), 400 + 100);
    EXPECT_EQ(window.y(), 200);
}

TEST_F(UnitWindowTest, OffEveryScreenTheWindowGoesAboveTheMainWindow) {
    FSettings->UnitPlacement = {5000, 5000, 300, 60, false};
    FSettings->MainPlacement = {100, 300, 350, 110, true};
    TfrmCalUnit& window = Window();
    EXPECT_EQ(window.geometry(), QRect(100, 300 - window.height() - 1, 300, window.height()));
    EXPECT_EQ(FSettings->UnitPlacement, (TWindowPlacement{100, 300 - window.height() - 1, 300, window.height(), false}));
}

TEST_F(UnitWindowTest, OffEveryScreenTheWindowGoesAboveItsOwnerWhereverTheOwnerIs) {
    FSettings->UnitPlacement = {5000, 5000, 300, 60, false};
    FSettings->MainPlacement = {5000, 5000, 350, 110, true};
    QWidget owner;
    owner.setGeometry(50, 400, 350, 110);
    TfrmCalUnit window(*FSettings, FContext, *FLanguage, &owner);
    EXPECT_EQ(window.geometry(), QRect(50, 400 - window.height() - 1, 300, window.height()));
}

TEST_F(UnitWindowTest, WithoutRoomAboveTheMainWindowItGoesToTheCornerOfTheScreen) {
    FSettings->UnitPlacement = {-4000, 100, 300, 60, false};
    FSettings->MainPlacement = {100, 0, 350, 110, true};
    TfrmCalUnit& window = Window();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.geometry(), QRect(area.right() + 1 - 300, area.bottom() + 1 - window.height(), 300,
                                       window.height()));
}

// Drags the window by its title row so that its left edge would land at x.
void DragTitleTo(TfrmCalUnit& window, int left) {
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(60, 8));
    QTest::mouseMove(&window, QPoint(60 + left - window.x(), 8));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(60, 8));
}

TEST_F(UnitWindowTest, DraggingTheTitleSnapsToTheWorkAreaEdge) {
    FSettings->SnapAtEdge = true;
    ShowWindow();
    TfrmCalUnit& window = Window();
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    const int targetLeft = workArea.x() + workArea.width() - window.width() - 15;
    DragTitleTo(window, targetLeft);
    EXPECT_EQ(window.x(), workArea.x() + workArea.width() - window.width());
    EXPECT_EQ(window.y(), 100);
}

TEST_F(UnitWindowTest, DraggingWithoutSnappingMovesFreely) {
    FSettings->SnapAtEdge = false;
    ShowWindow();
    TfrmCalUnit& window = Window();
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    const int targetLeft = workArea.x() + workArea.width() - window.width() - 15;
    DragTitleTo(window, targetLeft);
    EXPECT_EQ(window.x(), targetLeft);
}

TEST_F(UnitWindowTest, ShowingAndHidingRunTheEffectFromTheAnchor) {
    FSettings->WindowAnime = true;
    int anchors = 0;
    Window().OnAnchorPoint = [&] {
        ++anchors;
        return QPoint(10, 10);
    };
    ShowWindow();
    EXPECT_EQ(anchors, 1);
    EXPECT_EQ(Window().focusWidget(), Window().edtFromVar);
    Window().HideWindow();
    EXPECT_EQ(anchors, 2);
}

TEST_F(UnitWindowTest, AutoButtonGivesTheFocusBackToAVisibleOwner) {
    QWidget owner;
    owner.setGeometry(400, 300, 200, 100);
    owner.show();
    FWindow = std::make_unique<TfrmCalUnit>(*FSettings, FContext, *FLanguage, &owner);
    FWindow->show();
    FWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    FWindow->btnAuto->Click();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&owner));
    FWindow.reset();
}

TEST_F(UnitWindowTest, DroppedDownUnitListHighlightsTheChosenUnit) {
    ShowWindow();
    TfrmCalUnit& window = Window();
    SelectUnit(*window.cmbToUnit, "kilometre (km)");
    window.cmbToUnit->Click();
    TQuenPopupList* list = window.cmbToUnit->PopupList();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    const QImage image = test::Snapshot(*list);
    const int row = window.cmbToUnit->height();
    EXPECT_EQ(test::PixelAt(image, 2, 1 + row + 1), ToQColor(clHighlight));
    EXPECT_EQ(test::PixelAt(image, 2, 1 + 1), ToQColor(clWindow));
    list->hide();
}

TEST_F(UnitWindowTest, AUnitFileThatFailsLeavesTheSelectorsEmpty) {
    FDirectory.Write("Quenmark.uni",
                     "[Information]\nPurpose=Quenmark Version 1.1 Unit Convertor Definition File\n"
                     "[Units]\nnot a table\n");
    FLanguage = TCCLanguage::CreateBuiltIn(FContext, FDirectory.Path());
    TfrmCalUnit& window = Window();
    EXPECT_TRUE(window.cmbGroup->Items().isEmpty());
    EXPECT_TRUE(window.cmbFromUnit->Items().isEmpty());
    EXPECT_EQ(window.SelectedGroup(), nullptr);
    window.SetSourceText("3");
    window.Convert();
    EXPECT_EQ(window.edtToVar->text(), "---");
}

TEST_F(UnitWindowTest, NoUnitFileLeavesTheSelectorsEmpty) {
    std::filesystem::remove(FDirectory.PathOf("Quenmark.uni"));
    FLanguage = TCCLanguage::CreateBuiltIn(FContext, FDirectory.Path());
    EXPECT_TRUE(Window().cmbGroup->Items().isEmpty());
    Window().SetSourceText("3");
    Window().Convert();
    EXPECT_EQ(Window().edtToVar->text(), "---");
}

}  // namespace
}  // namespace quenmark
