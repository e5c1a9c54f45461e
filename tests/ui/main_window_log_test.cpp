// The main window's log as a control: the last line stays in view after a
// resize, a horizontal scroll bar shows while a visible line is cut, and a
// double click selects a whole number.
#include "ui/main_window_log.h"

#include "ui/log_number_span.h"
#include "widget_test_support.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

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
