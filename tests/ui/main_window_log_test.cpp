// The main window's log as a control: the last line stays in view after a
// resize, a horizontal scroll bar shows while a visible line is cut, a
// vertical one while the lines are taller than the view, messages wrap at
// the log's width, and a double click selects a whole number.
#include "ui/main_window_log.h"

#include "ui/log_number_span.h"
#include "widget_test_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace quenmark {
namespace {

class MainLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        FLog.setFont(QFont(QStringLiteral("Liberation Mono"), 10));
        FLog.resize(200, 120);
        FLog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FLog));
    }

    void AddLines(int count, const QString& prefix = QStringLiteral("line ")) {
        for (int i = 0; i < count; ++i) FLog.AddLine(prefix + QString::number(i), 100);
    }

    bool LastLineInView() {
        const QRect box = FLog.cursorRect(QTextCursor(FLog.document()->lastBlock()));
        return box.top() >= 0 && box.bottom() < FLog.viewport()->height();
    }

    TMainLog FLog;
};

TEST_F(MainLogTest, TheLastLineStaysInViewWhenTheLogIsMadeSmaller) {
    AddLines(30);
    ASSERT_TRUE(LastLineInView());
    FLog.resize(200, 60);
    EXPECT_TRUE(LastLineInView());
    FLog.resize(200, 33);
    EXPECT_TRUE(LastLineInView());
}

TEST_F(MainLogTest, AHorizontalScrollBarShowsOnlyWhileAVisibleLineIsCut) {
    AddLines(3);
    EXPECT_FALSE(FLog.horizontalScrollBar()->isVisible());
    FLog.AddLine(QString(80, QLatin1Char('w')), 100);
    EXPECT_GT(FLog.WidestVisibleLineWidth(), FLog.viewport()->width());
    EXPECT_TRUE(FLog.horizontalScrollBar()->isVisible());
    EXPECT_TRUE(LastLineInView());
    // The wide line scrolls out of view at the top.
    AddLines(30);
    EXPECT_LE(FLog.WidestVisibleLineWidth(), FLog.viewport()->width());
    EXPECT_FALSE(FLog.horizontalScrollBar()->isVisible());
}

TEST_F(MainLogTest, ADoubleClickSelectsTheWholeNumber) {
    FLog.AddLine(QStringLiteral("39.75"), 100);
    const QRect box = FLog.cursorRect(QTextCursor(FLog.document()->lastBlock()));
    const QPoint onTheFirstDigit(2, box.center().y());
    QTest::mouseDClick(FLog.viewport(), Qt::LeftButton, Qt::NoModifier, onTheFirstDigit);
    EXPECT_EQ(FLog.textCursor().selectedText(), QStringLiteral("39.75"));
}

// How many lines of the view a log line takes.
int ViewLines(const QTextBlock& block) { return block.layout() ? block.layout()->lineCount() : 0; }

const QString LongMessage = QStringLiteral("Welcome. Type an expression and press Enter to see its result here.");

TEST_F(MainLogTest, AMessageWrapsAtTheWidthAndStaysOneLine) {
    FLog.AddLine(LongMessage, 100, TLogLine::Message);
    EXPECT_EQ(FLog.LineCount(), 1);
    EXPECT_EQ(FLog.Lines(), QStringList{LongMessage});
    EXPECT_GT(ViewLines(FLog.document()->lastBlock()), 1);
    EXPECT_LE(FLog.WidestVisibleLineWidth(), FLog.viewport()->width());
    EXPECT_FALSE(FLog.horizontalScrollBar()->isVisible());
}

TEST_F(MainLogTest, ABlankAtAWrapPointNeverCallsForTheHorizontalBar) {
    // A view one pixel narrower than a word with its blank: the word fits
    // the wrapping width beside the thin bar, the blank after it does not.
    FLog.SetScrollBarColors(Qt::white, Qt::black);
    const QFontMetrics metrics(FLog.font());
    const QString word(14, QLatin1Char('m'));
    const int view = metrics.horizontalAdvance(word + QLatin1Char(' ')) - 1;
    ASSERT_LE(metrics.horizontalAdvance(word), view - 6);
    FLog.resize(view, 120);
    ASSERT_EQ(FLog.viewport()->width(), view);
    FLog.AddLine(word + QLatin1Char(' ') + word + QLatin1Char(' ') + word, 100, TLogLine::Message);
    ASSERT_EQ(FLog.document()->lastBlock().text().count(QChar(QChar::LineSeparator)), 2);
    EXPECT_LE(FLog.WidestVisibleLineWidth(), FLog.viewport()->width());
    EXPECT_FALSE(FLog.horizontalScrollBar()->isVisible());
}

TEST_F(MainLogTest, AResultStaysOneViewLineWithTheHorizontalBar) {
    FLog.AddLine(LongMessage, 100, TLogLine::Result);
    EXPECT_EQ(ViewLines(FLog.document()->lastBlock()), 1);
    EXPECT_TRUE(FLog.horizontalScrollBar()->isVisible());
}

TEST_F(MainLogTest, AMessageWrapsAgainWhenTheLogChangesItsWidth) {
    FLog.AddLine(LongMessage, 100, TLogLine::Message);
    const int lines = ViewLines(FLog.document()->lastBlock());
    FLog.resize(100, 120);
    EXPECT_GT(ViewLines(FLog.document()->lastBlock()), lines);
    FLog.resize(1000, 120);
    EXPECT_EQ(ViewLines(FLog.document()->lastBlock()), 1);
    EXPECT_EQ(FLog.Lines(), QStringList{LongMessage});
}

TEST_F(MainLogTest, DroppingTheFirstLineKeepsWhatEachOtherLineIs) {
    FLog.AddLine(LongMessage + QStringLiteral(" first"), 100, TLogLine::Message);
    FLog.AddLine(LongMessage, 100, TLogLine::Result);
    FLog.AddLine(LongMessage + QStringLiteral(" third"), 100, TLogLine::Message);
    FLog.AddLine(QStringLiteral("4"), 3, TLogLine::Result);
    EXPECT_EQ(FLog.Lines(), QStringList({LongMessage, LongMessage + QStringLiteral(" third"), QStringLiteral("4")}));
    const QTextBlock first = FLog.document()->firstBlock();
    EXPECT_EQ(ViewLines(first), 1);
    EXPECT_GT(ViewLines(first.next()), 1);
}

TEST_F(MainLogTest, AVerticalScrollBarShowsOnlyWhileTheLinesAreTallerThanTheView) {
    AddLines(2);
    EXPECT_FALSE(FLog.verticalScrollBar()->isVisible());
    AddLines(30);
    EXPECT_TRUE(FLog.verticalScrollBar()->isVisible());
    EXPECT_EQ(FLog.verticalScrollBar()->value(), FLog.verticalScrollBar()->maximum());
    FLog.SetLines(QStringLiteral("one"));
    EXPECT_FALSE(FLog.verticalScrollBar()->isVisible());
}

TEST_F(MainLogTest, TheScrollBarsAreThinInTheWindowsColours) {
    FLog.SetScrollBarColors(QColor(0x10, 0x20, 0x30), QColor(0x40, 0x50, 0x60));
    AddLines(30);
    const QScrollBar* bar = FLog.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->width(), 5);
    EXPECT_TRUE(bar->styleSheet().contains(QStringLiteral("#102030")));
    EXPECT_TRUE(bar->styleSheet().contains(QStringLiteral("#405060")));
}

TEST_F(MainLogTest, ADoubleClickedNumberGoesToThePrimarySelection) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) GTEST_SKIP() << "the platform has no primary selection";
    FLog.AddLine(QStringLiteral("x = -1.5E+3"), 100);
    const QRect box = FLog.cursorRect(QTextCursor(FLog.document()->lastBlock()));
    const int onTheFive = QFontMetrics(FLog.font()).horizontalAdvance(QStringLiteral("x = -1.")) + 2;
    QTest::mouseDClick(FLog.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(onTheFive, box.center().y()));
    EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("-1.5E+3"));
}

struct NumberSpanRow {
    const char* name;
    const char* line;
    int column;
    const char* selected;  // empty: no number there
    friend void PrintTo(const NumberSpanRow& row, std::ostream* os) { *os << row.name; }
};

class NumberSpanTest : public ::testing::TestWithParam<NumberSpanRow> {};

TEST_P(NumberSpanTest, SelectsTheWholeNumber) {
    const QString line = QString::fromUtf8(GetParam().line);
    const TTextSpan span = NumberSpanAt(line, GetParam().column);
    EXPECT_EQ(line.mid(span.Start, span.Length), QString::fromUtf8(GetParam().selected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NumberSpanTest,
    ::testing::Values(NumberSpanRow{"DecimalPoint", "39.75", 1, "39.75"},
                      NumberSpanRow{"CaretAfterTheNumber", "x = 39.75", 9, "39.75"},
                      NumberSpanRow{"NegativeResult", "-2", 1, "-2"},
                      NumberSpanRow{"MinusOperatorIsNoSign", "> 3-5", 4, "5"},
                      NumberSpanRow{"Exponent", "1.5E-07", 5, "1.5E-07"},
                      NumberSpanRow{"ThousandsSeparators", "142,857.14", 8, "142,857.14"},
                      NumberSpanRow{"ListCommaEndsTheNumber", "10  (0x0A, 012)", 7, "0x0A"},
                      NumberSpanRow{"RadixAmpersand", "&H1F + 1", 3, "&H1F"},
                      NumberSpanRow{"Suffix", "12kg", 0, "12kg"},
                      NumberSpanRow{"NameIsNoNumber", "x1 = 5", 1, ""},
                      NumberSpanRow{"Blank", "1 + 2", 2, ""}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quenmark
