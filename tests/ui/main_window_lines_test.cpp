#include "main_window_test_support.h"

#include "app/history_section.h"
#include "support/section_writers.h"
#include "app/line_session.h"
#include "app/settings_file.h"
#include "definitions/language.h"
#include "definitions/profile.h"
#include "ui/quen_button.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace quenmark::test {
namespace {

class MainWindowLines : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // A known user: no welcome text unless a test asks for it.
        FSettings->Save();
        MakeWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }

    QString Banner() const { return QString::fromUtf8(TLineSession::Banner()); }
};

TEST_F(MainWindowLines, EnteringALineEchoesItAnswersEmptiesTheInputAndRecordsIt) {
    EnterLine(QStringLiteral("1+2"));
    EXPECT_EQ(Log(), QStringList({Banner(), QStringLiteral("> 1+2"), QStringLiteral("3")}));
    EXPECT_TRUE(Window().edtLine->text().isEmpty());
    EXPECT_TRUE(Window().edtLine->hasFocus());
    EXPECT_EQ(History(), std::vector<std::string>({"1+2"}));
}

TEST_F(MainWindowLines, TheInputLineIsTrimmedBeforeItRuns) {
    EnterLine(QStringLiteral("   7*6  "));
    EXPECT_EQ(Log().mid(1), QStringList({QStringLiteral("> 7*6"), QStringLiteral("42")}));
    EXPECT_EQ(History(), std::vector<std::string>({"7*6"}));
}

TEST_F(MainWindowLines, UpAfterALineShowsItWithTheCaretAtItsEnd) {
    EnterLine(QStringLiteral("1+2"));
    PressKey(Window().edtLine, Qt::Key_Up);
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("1+2"));
    EXPECT_EQ(Window().edtLine->cursorPosition(), 3);
}

TEST_F(MainWindowLines, UpAndDownWalkTheHistoryAndStopAtItsEnds) {
    for (const char* line : {"1", "2", "3"}) EnterLine(QString::fromUtf8(line));
    QLineEdit* input = Window().edtLine;
    const struct {
        Qt::Key key;
        const char* shown;
    } steps[] = {
        {Qt::Key_Up, "3"},   {Qt::Key_Up, "2"},   {Qt::Key_Up, "1"},   {Qt::Key_Up, "1"},
        {Qt::Key_Down, "2"}, {Qt::Key_Down, "3"}, {Qt::Key_Down, ""},  {Qt::Key_Down, ""},
    };
    for (const auto& step : steps) {
        PressKey(input, step.key);
        EXPECT_EQ(input->text(), QString::fromUtf8(step.shown));
    }
}

TEST_F(MainWindowLines, TheLineBeingTypedComesBackBelowTheNewestEntry) {
    for (const char* line : {"1", "2", "3"}) EnterLine(QString::fromUtf8(line));
    Window().edtLine->setText(QStringLiteral("7*"));
    PressKey(Window().edtLine, Qt::Key_Up);
    PressKey(Window().edtLine, Qt::Key_Up);
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("2"));
    PressKey(Window().edtLine, Qt::Key_Down);
    PressKey(Window().edtLine, Qt::Key_Down);
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("7*"));
    EXPECT_EQ(Window().edtLine->cursorPosition(), 2);
}

// How many lines of the log's view the log line takes: one more than the
// line separators the log put in for wrapping.
int ViewLines(const QTextBlock& block) { return 1 + static_cast<int>(block.text().count(QChar(QChar::LineSeparator))); }

// The window in English with the shipped message file.
class MainWindowMessages : public MainWindowLines {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FSettings->Save();
        FLanguages.Add(TCCLanguage::CreateBuiltIn(FContext, QUENMARK_DIALOG_TEST_RESOURCES));
        FLanguages.Select(&FLanguages.Items(0));
        MakeWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
};

TEST_F(MainWindowMessages, HelpLinesWrapAtTheLogWidthWhileTheEchoAndResultsStayOneLine) {
    EnterLine(QStringLiteral("@"));
    const QStringList shown = Log();
    ASSERT_GT(shown.size(), 3);
    EXPECT_NE(shown[2], QStringLiteral("INT101"));  // the real help text
    QTextBlock block = Window().memLog->document()->firstBlock().next();
    EXPECT_EQ(block.text(), QStringLiteral("> @"));
    int wrapped = 0;
    for (block = block.next(); block.isValid(); block = block.next())
        if (ViewLines(block) > 1) ++wrapped;
    EXPECT_GT(wrapped, 0);
    EXPECT_EQ(Window().memLog->LineCount(), shown.size());

    const QString longText = QStringLiteral("\"") + QString(60, QLatin1Char('q')) + QStringLiteral(" q\"");
    EnterLine(longText);
    EXPECT_EQ(ViewLines(Window().memLog->document()->lastBlock().previous()), 1);  // the echo
    EXPECT_EQ(ViewLines(Window().memLog->document()->lastBlock()), 1);
    EXPECT_EQ(Log().last(), longText);
    EXPECT_TRUE(Window().memLog->horizontalScrollBar()->isVisible());
}

TEST_F(MainWindowLines, TheSameLineInAnotherLetterCaseLeavesOnlyTheNewerSpelling) {
    EnterLine(QStringLiteral("abc = 1"));
    EnterLine(QStringLiteral("2"));
    EnterLine(QStringLiteral("ABC = 1"));
    EXPECT_EQ(History(), std::vector<std::string>({"2", "ABC = 1"}));
}

TEST_F(MainWindowLines, WithoutHistoryUpAndDownChangeNothing) {
    FSettings->MaxHistory = 0;
    EnterLine(QStringLiteral("1+2"));
    EXPECT_TRUE(History().empty());
    Window().edtLine->setText(QStringLiteral("typed"));
    PressKey(Window().edtLine, Qt::Key_Up);
    PressKey(Window().edtLine, Qt::Key_Down);
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("typed"));
}

TEST_F(MainWindowLines, TheLogKeepsAtMostMaxLogLineLinesDroppingTheBannerFirst) {
    FSettings->MaxLogLine = 25;
    for (int i = 1; i <= 11; ++i) EnterLine(QString::number(i));
    EXPECT_EQ(Log().size(), 23);
    EnterLine(QStringLiteral("12"));
    ASSERT_EQ(Log().size(), 25);
    EXPECT_EQ(Log().first(), Banner());
    EnterLine(QStringLiteral("13"));
    EXPECT_EQ(Log().size(), 25);
    EXPECT_EQ(Log().first(), QStringLiteral("1"));
    EXPECT_EQ(Log().last(), QStringLiteral("13"));
    EXPECT_EQ(Window().memLog->LineCount(), 25);
}

TEST_F(MainWindowLines, TheLogShowsItsLastLineScrolledFullyLeft) {
    EnterLine(QStringLiteral("\"") + QString(200, QLatin1Char('w')) + QStringLiteral("\""));
    for (int i = 0; i < 10; ++i) EnterLine(QString::number(i));
    QScrollBar* vertical = Window().memLog->verticalScrollBar();
    EXPECT_GT(vertical->maximum(), 0);
    EXPECT_EQ(vertical->value(), vertical->maximum());
    EXPECT_EQ(Window().memLog->horizontalScrollBar()->value(), 0);
}

TEST_F(MainWindowLines, PageUpAndDownInTheInputLineScrollTheLogAndKeepTheFocus) {
    for (int i = 0; i < 20; ++i) EnterLine(QString::number(i));
    QScrollBar* vertical = Window().memLog->verticalScrollBar();
    const int bottom = vertical->value();
    PressKey(Window().edtLine, Qt::Key_PageUp);
    EXPECT_LT(vertical->value(), bottom);
    EXPECT_TRUE(Window().edtLine->hasFocus());
    PressKey(Window().edtLine, Qt::Key_PageDown);
    EXPECT_EQ(vertical->value(), bottom);
}

TEST_F(MainWindowLines, TheInputLineTakesAtMostAThousandCharacters) {
    Window().edtLine->setText(QString(1200, QLatin1Char('1')));
    EXPECT_EQ(Window().edtLine->text().size(), 1000);
}

TEST_F(MainWindowLines, EnterWithTheFocusInTheLogOnlyMovesTheFocusToTheInputLine) {
    Window().edtLine->setText(QStringLiteral("1+2"));
    Window().memLog->setFocus();
    ASSERT_TRUE(Window().memLog->hasFocus());
    PressKey(Window().memLog, Qt::Key_Return);
    EXPECT_TRUE(Window().edtLine->hasFocus());
    EXPECT_EQ(Log(), QStringList({Banner()}));
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("1+2"));
}

TEST_F(MainWindowLines, AnErrorOfALineGoesToTheLogAndTheLineIsStillRecorded) {
    EnterLine(QStringLiteral("1+"));
    ASSERT_EQ(Log().size(), 3);
    EXPECT_TRUE(Log()[2].startsWith(QStringLiteral("INT"))) << Log()[2].toStdString();
    EXPECT_EQ(History(), std::vector<std::string>({"1+"}));
}

TEST(MainLogText, SplitsAtEveryKindOfLineBreak) {
    const struct {
        const char* text;
        QStringList lines;
    } rows[] = {
        {"one line", {"one line"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"", {""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\nx", {"", "", "x"}},
    };
    for (const auto& row : rows) EXPECT_EQ(SplitLogText(QString::fromUtf8(row.text)), row.lines) << row.text;
}

TEST_F(MainWindowLines, AMessageWithLineBreaksFillsSeveralLogLines) {
    Window().AddLogLine(QStringLiteral("first\r\nsecond"));
    EXPECT_EQ(Log().mid(1), QStringList({QStringLiteral("first"), QStringLiteral("second")}));
}

// --- Radix button and menu --------------------------------------------------

TEST_F(MainWindowLines, ChoosingHexInTheRadixMenuRunsTheCommandAndDisablesTheFormats) {
    Window().actHex->trigger();
    EXPECT_EQ(Log().mid(1, 1), QStringList({QStringLiteral("> @HEX")}));
    EXPECT_EQ(History(), std::vector<std::string>({"@HEX"}));
    EXPECT_EQ(Window().btnDec->Text(), QStringLiteral("HEX"));
    EXPECT_TRUE(Window().actHex->isChecked());
    EXPECT_FALSE(Window().actDec->isChecked());
    for (QAction* format : {Window().actDecNormal, Window().actDecSeparator, Window().actDecExponent})
        EXPECT_FALSE(format->isEnabled()) << format->objectName().toStdString();
    EXPECT_EQ(FSettings->OutputMode, 1);
    EXPECT_TRUE(Window().edtLine->hasFocus());
}

TEST_F(MainWindowLines, TheRadixMenuHoldsTheFourRadixesThenTheThreeFormats) {
    const QList<QAction*> items = Window().mnuDec->actions();
    ASSERT_EQ(items.size(), 8);
    const QStringList texts = {"DEC", "HEX", "OCT", "BIN"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(items[i]->text(), texts[i]);
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5], Window().actDecNormal);
    EXPECT_EQ(items[5]->text(), QStringLiteral("QEN201"));
    EXPECT_EQ(items[6]->text(), QStringLiteral("QEN202"));
    EXPECT_EQ(items[7]->text(), QStringLiteral("QEN203"));
    EXPECT_EQ(Window().btnDec->Popup(), Window().mnuDec);
}

TEST_F(MainWindowLines, TypingARadixCommandMovesTheButtonAndTheSettings) {
    EnterLine(QStringLiteral("@OCT"));
    EXPECT_EQ(Window().btnDec->Text(), QStringLiteral("OCT"));
    EXPECT_EQ(FSettings->OutputMode, 2);
    EnterLine(QStringLiteral("@dec"));
    EXPECT_EQ(Window().btnDec->Text(), QStringLiteral("DEC"));
    EXPECT_EQ(FSettings->OutputMode, 0);
    for (QAction* format : {Window().actDecNormal, Window().actDecSeparator, Window().actDecExponent})
        EXPECT_TRUE(format->isEnabled());
}

TEST_F(MainWindowLines, AnExpressionLineLeavesModeAndFormatSettingsAlone) {
    FSettings->OutputMode = 3;
    FSettings->OutputFormat = "0.00";
    EnterLine(QStringLiteral("1+2"));
    EXPECT_EQ(FSettings->OutputMode, 3);
    EXPECT_EQ(FSettings->OutputFormat, "0.00");
}

TEST_F(MainWindowLines, TheFormatItemsSetTheirMasks) {
    const struct {
        QAction* action;
        const char* mask;
    } rows[] = {
        {Window().actDecSeparator, "#,##0.###"},
        {Window().actDecExponent, "0.0#############E+"},
        {Window().actDecNormal, ""},
    };
    for (const auto& row : rows) {
        row.action->trigger();
        EXPECT_EQ(FSettings->OutputFormat, row.mask);
        EXPECT_EQ(FInterpreter.FormatMask(), row.mask);
    }
    EnterLine(QStringLiteral("1234.5"));
    EXPECT_EQ(Log().last(), QStringLiteral("1234.5"));
}

// --- Creation -----------------------------------------------------------------

class MainWindowCreation : public MainWindowTest {};

TEST_F(MainWindowCreation, TheFirstStartShowsTheWelcomeTextRightAfterTheBanner) {
    MakeWindow();
    EXPECT_EQ(Log(), QStringList({QString::fromUtf8(TLineSession::Banner()), QStringLiteral("QEN101")}));
}

TEST_F(MainWindowCreation, TheNextStartShowsOnlyTheBanner) {
    MakeWindow();
    FWindow.reset();  // the end of the first run saves the user
    MakeWindow();
    EXPECT_EQ(Log(), QStringList({QString::fromUtf8(TLineSession::Banner())}));
}

TEST_F(MainWindowCreation, TheSavedFormatAndModeComeBackWithoutEchoOrHistory) {
    FSettings->OutputMode = 1;
    FSettings->OutputFormat = "0.00";
    FSettings->Save();
    MakeWindow();
    EXPECT_EQ(Window().btnDec->Text(), QStringLiteral("HEX"));
    EXPECT_EQ(FInterpreter.GetOutputMode(), OutputMode::HEX);
    EXPECT_EQ(FInterpreter.FormatMask(), "0.00");
    EXPECT_EQ(Log(), QStringList({QString::fromUtf8(TLineSession::Banner())}));
    EXPECT_TRUE(History().empty());
}

TEST_F(MainWindowCreation, AStoredModeOutsideTheFourKeepsTheDecimalButton) {
    FSettings->OutputMode = 7;
    FSettings->Save();
    MakeWindow();
    EXPECT_EQ(Window().btnDec->Text(), QStringLiteral("DEC"));
}

TEST_F(MainWindowCreation, TheSavedHistoryIsRecalledAndTheRunsEndSavesItAgain) {
    FSettings->Save();
    WriteHistorySection(*FSettings, {"1+1", "2+2"});
    MakeWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    PressKey(Window().edtLine, Qt::Key_Up);
    EXPECT_EQ(Window().edtLine->text(), QStringLiteral("2+2"));
    Window().edtLine->clear();
    EnterLine(QStringLiteral("3+3"));
    FWindow.reset();
    std::vector<std::string> saved;
    ReadHistorySection(*FSettings, saved);
    EXPECT_EQ(saved, std::vector<std::string>({"1+1", "2+2", "3+3"}));
}

TEST_F(MainWindowCreation, TheWindowTakesItsCaptionPlacementAndTrayTip) {
    bool captionSet = false;
    TMainWindowContext context = Context();
    context.OnCaptionSet = [&captionSet]() { captionSet = true; };
    TfrmCalQuen window(std::move(context));
    EXPECT_TRUE(captionSet);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quenmark 1.1"));
    EXPECT_EQ(window.Tray().Icon().TipHelp(), QStringLiteral("Quenmark 1.1"));
    EXPECT_EQ(window.size(), QSize(350, 110));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.AnimationOrigin(), QPoint(window.x() + 175, window.y() + 55));
}

}  // namespace
}  // namespace quenmark::test
