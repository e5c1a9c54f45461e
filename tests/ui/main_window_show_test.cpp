#include "main_window_test_support.h"

#include "definitions/language.h"
#include "ui/color_ref.h"
#include "ui/help_window.h"
#include "ui/quen_button.h"
#include "ui/unit_window.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

namespace quenmark::test {
namespace {

class MainWindowShow : public MainWindowTest {
protected:
    void DoubleClickTray() { Window().Tray().Icon().Activated(QSystemTrayIcon::DoubleClick); }

    void ExpectShown() {
        EXPECT_TRUE(Window().isVisible());
        EXPECT_FALSE(Window().isMinimized());
        EXPECT_EQ(Window().HideItemAction(), Window().actHide);
        EXPECT_EQ(Window().mnuControl->defaultAction(), Window().actHide);
        EXPECT_EQ(Window().Tray().DoubleClickAction(), Window().actHide);
    }

    void ExpectShowOffered() {
        EXPECT_EQ(Window().HideItemAction(), Window().actShow);
        EXPECT_EQ(Window().mnuControl->defaultAction(), Window().actShow);
        EXPECT_EQ(Window().Tray().DoubleClickAction(), Window().actShow);
    }
};

TEST_F(MainWindowShow, EscapeHidesIntoTheTrayAndItsDoubleClickShowsAgain) {
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    ExpectShown();
    EXPECT_TRUE(FTrayArea.Shown);
    PressKey(Window().edtLine, Qt::Key_Escape);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(FSettings->MainPlacement.Show);
    ExpectShowOffered();
    DoubleClickTray();
    ExpectShown();
    EXPECT_TRUE(FSettings->MainPlacement.Show);
    DoubleClickTray();
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MainWindowShow, AnEscapeWhosePressWentElsewhereHidesNothing) {
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    // As when Escape closed a menu: only the release reaches the window.
    QTest::keyRelease(Window().edtLine, Qt::Key_Escape);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().HideItemAction(), Window().actHide);
}

TEST_F(MainWindowShow, WithoutResidenceHidingMinimisesAndKeepsTheShowSetting) {
    FSettings->StayResident = false;
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    EXPECT_FALSE(FTrayArea.Shown);
    PressKey(Window().edtLine, Qt::Key_Escape);
    EXPECT_TRUE(Window().isMinimized());
    EXPECT_TRUE(FSettings->MainPlacement.Show);
    ExpectShowOffered();
    Window().actShow->trigger();
    ExpectShown();
}

TEST_F(MainWindowShow, WithoutANotificationAreaHidingMinimises) {
    FTrayArea.Available = false;
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Window().btnHide->Click();
    EXPECT_TRUE(Window().isMinimized());
    EXPECT_TRUE(FSettings->MainPlacement.Show);
    ExpectShowOffered();
}

TEST_F(MainWindowShow, AHiddenStartStaysInTheTray) {
    FSettings->MainPlacement.Show = false;
    MakeWindow();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(FTrayArea.Shown);
    ExpectShowOffered();
}

TEST_F(MainWindowShow, AHiddenStartWithoutANotificationAreaShowsTheWindow) {
    FSettings->MainPlacement.Show = false;
    FTrayArea.Available = false;
    MakeWindow();
    ExpectShown();
    EXPECT_TRUE(FSettings->MainPlacement.Show);
}

TEST_F(MainWindowShow, ASecondLaunchShowsTheHiddenWindowInFront) {
    FSettings->MainPlacement.Show = false;
    MakeWindow();
    ASSERT_FALSE(Window().isVisible());
    Window().ActivateFromSecondLaunch();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
    ExpectShown();
    EXPECT_TRUE(Window().edtLine->hasFocus());
}

TEST_F(MainWindowShow, ExitAnsweredNoChangesNothing) {
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    Window().memLog->setFocus();
    Window().actExit->trigger();
    EXPECT_EQ(FQuestions, QStringList({QStringLiteral("QEN901")}));
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_TRUE(Window().edtLine->hasFocus());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SettingsPath())));
}

TEST_F(MainWindowShow, ExitAnsweredYesClosesTheWindowAndEndsTheRun) {
    MakeWindow();
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    FAnswer = true;
    Window().actExit->trigger();
    EXPECT_FALSE(Window().isVisible());
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.first().first().toInt(), 0);
}

TEST_F(MainWindowShow, TheControlMenuHoldsItsItemsInOrder) {
    MakeWindow();
    const QList<QAction*> items = Window().mnuControl->actions();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[0], Window().actHide);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2], Window().actVar);
    EXPECT_FALSE(Window().actVar->isVisible());
    EXPECT_EQ(items[3], Window().actUnit);
    EXPECT_EQ(items[4], Window().actCopyResult);
    EXPECT_EQ(items[5], Window().actOption);
    EXPECT_EQ(items[6]->menu(), Window().mniHelp);
    EXPECT_EQ(Window().mniHelp->actions(), QList<QAction*>({Window().actHelpContents, Window().actHelpLine}));
    EXPECT_EQ(items[7], Window().actAbout);
    EXPECT_TRUE(items[8]->isSeparator());
    EXPECT_EQ(items[9], Window().actExit);
    EXPECT_EQ(Window().btnControl->Popup(), Window().mnuControl);
    EXPECT_EQ(Window().Tray().Icon().RBPopupMenu(), Window().mnuControl);
}

TEST_F(MainWindowShow, CaptionsComeFromTheMessageCodes) {
    MakeWindow();
    const struct {
        QAction* action;
        const char* code;
    } rows[] = {
        {Window().actHide, "QEN001"},   {Window().actShow, "QEN002"},         {Window().actVar, "QEN011"},
        {Window().actUnit, "QEN012"},   {Window().actOption, "QEN021"},       {Window().actAbout, "QEN022"},
        {Window().actExit, "QEN099"},   {Window().actHelpContents, "QEN032"}, {Window().actHelpLine, "QEN033"},
        {Window().actCopyResult, "QEN013"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.action->text(), QString::fromUtf8(row.code));
    EXPECT_EQ(Window().mniHelp->title(), QStringLiteral("QEN031"));
}

TEST_F(MainWindowShow, ThePointerOverTheTrayEntryBecomesTheEffectsOrigin) {
    MakeWindow();
    QCursor::setPos(37, 41);
    Window().Tray().Icon().Activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(Window().AnimationOrigin(), QPoint(37, 41));
}

TEST_F(MainWindowShow, TheApplicationsActivationSetsTextColourAndOpacity) {
    FSettings->AlphaInactive = 128;
    MakeWindow();
    const TColorScheme& scheme = FSettings->ColorScheme;
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(Window().edtLine->palette().color(QPalette::Text), ToQColor(scheme.DarkColor));
    EXPECT_NEAR(Window().windowOpacity(), 128 / 255.0, 0.01);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(Window().edtLine->palette().color(QPalette::Text), ToQColor(scheme.TextColor));
    EXPECT_NEAR(Window().windowOpacity(), 1.0, 0.01);
}

// --- Help ------------------------------------------------------------------------

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDirectory.isValid());
        QFile file(FDirectory.filePath(QStringLiteral("Test.hlp")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray html = "<html><head><title>Test Help</title></head><body><h1>Contents</h1>";
        for (int i = 0; i < 200; ++i) html += "<p>filler line</p>";
        html += "<h2><a name=\"200\"></a>Syntax</h2><p>the syntax</p>";
        for (int i = 0; i < 200; ++i) html += "<p>filler line</p>";
        file.write(html + "</body></html>");
        file.close();
        FHelp.SetHelpFile(file.fileName());
    }

    QTemporaryDir FDirectory;
    THelpWindow FHelp;
};

TEST_F(HelpWindowTest, TheContextNumberNamesTheAnchorToShow) {
    FHelp.ShowContext(200);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FHelp));
    EXPECT_EQ(FHelp.windowTitle(), QStringLiteral("Test Help"));
    EXPECT_GT(FHelp.verticalScrollBar()->value(), 0);
    FHelp.ShowContents();
    EXPECT_EQ(FHelp.verticalScrollBar()->value(), 0);
}

TEST_F(HelpWindowTest, AMissingHelpFileIsReportedInTheWindow) {
    FHelp.SetHelpFile(FDirectory.filePath(QStringLiteral("Missing.hlp")));
    FHelp.ShowContents();
    EXPECT_TRUE(FHelp.isVisible());
    EXPECT_TRUE(FHelp.toPlainText().contains(QStringLiteral("Missing.hlp")));
}

TEST_F(MainWindowShow, TheLineHelpOpensTheHelpWindow) {
    MakeWindow();
    Window().actHelpLine->trigger();
    ASSERT_NE(Window().HelpWindow(), nullptr);
    EXPECT_TRUE(Window().HelpWindow()->isVisible());
    EXPECT_TRUE(Window().HelpWindow()->HelpFile().endsWith(QStringLiteral("Quenmark.hlp")));
}

// --- Unit window hand-off -------------------------------------------------------------

class MainWindowUnit : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FLanguages.Add(TCCLanguage::CreateBuiltIn(FContext, FDirectory.path().toStdString() + "/"));
        FLanguages.Select(&FLanguages.Items(0));
    }
};

TEST_F(MainWindowUnit, OpeningTheUnitWindowTransfersTheLastResultUnchanged) {
    MakeWindow();
    EnterLine(QStringLiteral("3-5"));
    ASSERT_EQ(Window().UnitWindow(), nullptr);
    Window().btnUnit->Click();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EXPECT_TRUE(Window().UnitWindow()->isVisible());
    EXPECT_TRUE(FSettings->UnitPlacement.Show);
    EXPECT_EQ(Window().UnitWindow()->SourceText(), QStringLiteral("-2"));
}

TEST_F(MainWindowUnit, WithAutoUnitEachResultGoesToTheOpenUnitWindowAsItsAbsoluteValue) {
    MakeWindow();
    Window().actUnit->trigger();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EnterLine(QStringLiteral("3-5"));
    EXPECT_EQ(Window().UnitWindow()->SourceText(), QStringLiteral("2"));
    EnterLine(QStringLiteral("-1/4"));
    EXPECT_EQ(Window().UnitWindow()->SourceText(), QStringLiteral("0.25"));
    // A text result is no number: the field keeps what it had.
    EnterLine(QStringLiteral("\"abc\""));
    EXPECT_EQ(Window().UnitWindow()->SourceText(), QStringLiteral("0.25"));
    FSettings->AutoUnit = false;
    EnterLine(QStringLiteral("7"));
    EXPECT_EQ(Window().UnitWindow()->SourceText(), QStringLiteral("0.25"));
}

TEST_F(MainWindowUnit, HidingTakesTheUnitWindowAlongAndShowingBringsItBack) {
    MakeWindow();
    Window().actUnit->trigger();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    Window().actHide->trigger();
    EXPECT_FALSE(Window().UnitWindow()->isVisible());
    EXPECT_TRUE(FSettings->UnitPlacement.Show);
    Window().actShow->trigger();
    EXPECT_TRUE(Window().UnitWindow()->isVisible());
}

// --- Options dialog -------------------------------------------------------------------

class MainWindowOptions : public MainWindowUnit {
protected:
    // Ends the options dialog as soon as it is up, noting what it saw.
    void EndDialogWith(int result) {
        QTimer::singleShot(0, [this, result]() {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            FTrayEnabledWhileOpen = Window().Tray().Enabled();
            dialog->done(result);
        });
    }
    bool FTrayEnabledWhileOpen = true;
};

TEST_F(MainWindowOptions, CancellingChangesNothingAndTheTrayIsDisabledOnlyMeanwhile) {
    MakeWindow();
    Window().actUnit->trigger();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EndDialogWith(QDialog::Rejected);
    Window().actOption->trigger();
    EXPECT_FALSE(FTrayEnabledWhileOpen);
    EXPECT_TRUE(Window().Tray().Enabled());
    EXPECT_NE(Window().UnitWindow(), nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SettingsPath())));
}

TEST_F(MainWindowOptions, ConfirmingReleasesTheUnitWindowSavesAndApplies) {
    MakeWindow();
    Window().actUnit->trigger();
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EndDialogWith(QDialog::Accepted);
    Window().actAbout->trigger();
    EXPECT_FALSE(FTrayEnabledWhileOpen);
    EXPECT_TRUE(Window().Tray().Enabled());
    EXPECT_EQ(Window().UnitWindow(), nullptr);
    EXPECT_FALSE(FSettings->UnitPlacement.Show);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(SettingsPath())));
    EXPECT_EQ(Window().actHide->text(), QStringLiteral("QEN001"));
    EXPECT_TRUE(Window().isVisible());
}

}  // namespace
}  // namespace quenmark::test
