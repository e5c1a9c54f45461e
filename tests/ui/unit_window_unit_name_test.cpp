// Unit names with face, style and size tags: the runs they are drawn in,
// and the drawing itself on a test canvas.
#include "ui/unit_name_painter.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <ostream>
#include <vector>

namespace quenmark {

void PrintTo(const TUnitNameRun& run, std::ostream* os) {
    *os << "{\"" << run.Text << "\" face " << run.Face << " size " << run.PointSize << (run.Bold ? " bold" : "")
        << (run.Italic ? " italic" : "") << "}";
}

namespace {

// With font size 14 the name is drawn at 11 points, raised text at 5.
constexpr int FontSize = 14;
constexpr int N = 11;
constexpr int S = 5;

TUnitNameRun NameRun(const char* text, int face = 0, int size = N, bool bold = false, bool italic = false) {
    return {text, face, size, bold, italic};
}

struct NameRow {
    const char* name;
    const char* text;
    std::vector<TUnitNameRun> runs;
    friend void PrintTo(const NameRow& row, std::ostream* os) { *os << row.name; }
};

class UnitNameRunsTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(UnitNameRunsTest, SplitsTheName) { EXPECT_EQ(UnitNameRuns(GetParam().text, FontSize), GetParam().runs); }

INSTANTIATE_TEST_SUITE_P(
    Tags, UnitNameRunsTest,
    ::testing::Values(
        NameRow{"PlainName", "metre (m)", {NameRun("metre (m)")}},
        NameRow{"EmptyName", "", {}},
        NameRow{"RaisedSmallExponent", "m<u>2</u>", {NameRun("m"), NameRun("2", 0, S)}},
        NameRow{"TextAfterTheRaisedPart", "m<u>2</u>/s", {NameRun("m"), NameRun("2", 0, S), NameRun("/s")}},
        NameRow{"BoldOnAndOff", "<b>kg</b> mass", {NameRun("kg", 0, N, true), NameRun(" mass")}},
        NameRow{"ItalicOnAndOff", "<i>x</i>y", {NameRun("x", 0, N, false, true), NameRun("y")}},
        NameRow{"CapitalLetters", "<B>a</B><I>b</I><U>c</U>", {NameRun("a", 0, N, true), NameRun("b", 0, N, false, true),
                                                               NameRun("c", 0, S)}},
        NameRow{"SeveralLettersInOneTag", "<bi>x</b>y</i>z", {NameRun("x", 0, N, true, true), NameRun("y", 0, N, false, true),
                                                              NameRun("z")}},
        NameRow{"TagsDoNotNest", "<b><b>x</b>y", {NameRun("x", 0, N, true), NameRun("y")}},
        NameRow{"FaceWithDigitOne", "<f1>W</f>m", {NameRun("W", 1), NameRun("m")}},
        NameRow{"FaceWithCapitalF", "<F9>a</F>b", {NameRun("a", 9), NameRun("b")}},
        NameRow{"FaceLetterAboveNineMeansFaceZero", "<f1>a<fz>b", {NameRun("a", 1), NameRun("b", 0)}},
        NameRow{"FaceDigitTakesTheClosingBracket", "<f1>a<f>x>c", {NameRun("a", 1), NameRun("c", 0)}},
        NameRow{"FaceBelowZeroEndsTheName", "ab<f/>cd", {NameRun("ab")}},
        NameRow{"FaceAtTheEndEndsTheName", "ab<f", {NameRun("ab")}},
        NameRow{"ClosingFaceLeavesStyle", "<bf2>a</f>b", {NameRun("a", 2, N, true), NameRun("b", 0, N, true)}},
        NameRow{"UnknownLettersAreIgnored", "<xyz>a</q>b", {NameRun("a"), NameRun("b")}},
        NameRow{"UnclosedTagEndsTheName", "ab<b cd", {NameRun("ab")}},
        NameRow{"LoneBracketAtTheEndEndsTheName", "ab<", {NameRun("ab")}},
        NameRow{"BracketBeforeAMultiByteCharacterIsText", "a<\xC3\xA9" "b", {NameRun("a<\xC3\xA9" "b")}},
        NameRow{"MultiByteTextKeepsItsBytes", "\xC2\xB5m<u>3</u>", {NameRun("\xC2\xB5m"), NameRun("3", 0, S)}},
        NameRow{"EmptyTagSplitsTheRun", "a<>b", {NameRun("a"), NameRun("b")}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(UnitNameSizeTest, SizesFollowTheFontSizeInIntegerSteps) {
    EXPECT_EQ(UnitNameRuns("a<u>b", 10), (std::vector<TUnitNameRun>{NameRun("a", 0, 8), NameRun("b", 0, 4)}));
    EXPECT_EQ(UnitNameRuns("a<u>b", 9), (std::vector<TUnitNameRun>{NameRun("a", 0, 7), NameRun("b", 0, 3)}));
    EXPECT_EQ(UnitNameRuns("a<u>b</u>c", 48),
              (std::vector<TUnitNameRun>{NameRun("a", 0, 38), NameRun("b", 0, 19), NameRun("c", 0, 38)}));
}

// Drawing on a white image in black, so that every dark pixel is ink.
class DrawUnitNameTest : public ::testing::Test {
protected:
    DrawUnitNameTest() : FImage(400, 60, QImage::Format_RGB32) {
        FImage.fill(Qt::white);
        FFonts.fill("Liberation Sans");
        FFonts[1] = "Liberation Serif";
    }

    QPoint Draw(const char* text, QPoint start) {
        QPainter painter(&FImage);
        painter.setPen(Qt::black);
        QPoint pen = start;
        DrawUnitName(painter, pen, text, FFonts, FontSize);
        return pen;
    }

    int Advance(const char* text, int face, int pointSize, bool bold = false) {
        QFont font(QString::fromStdString(FFonts[static_cast<size_t>(face)]));
        font.setPointSize(pointSize);
        font.setBold(bold);
        return QFontMetrics(font, &FImage).horizontalAdvance(QString::fromUtf8(text));
    }

    // The rows from the first to the last dark pixel in columns [left, right).
    std::pair<int, int> InkRows(int left, int right) const {
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < FImage.height(); ++y)
            for (int x = left; x < right; ++x)
                if (qGray(FImage.pixel(x, y)) < 128) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        return {top, bottom};
    }

    QImage FImage;
    TCCUnitGroupList::FontTable FFonts;
};

TEST_F(DrawUnitNameTest, PenMovesRightByEachRunOnly) {
    const QPoint end = Draw("m<u>2</u>", {10, 5});
    EXPECT_EQ(end.y(), 5);
    EXPECT_EQ(end.x(), 10 + Advance("m", 0, N) + Advance("2", 0, S));
}

TEST_F(DrawUnitNameTest, FaceAndBoldChangeTheWidth) {
    const QPoint end = Draw("<f1>W</f><b>W</b>", {0, 0});
    EXPECT_EQ(end.x(), Advance("W", 1, N) + Advance("W", 0, N, true));
}

TEST_F(DrawUnitNameTest, RaisedTextSitsAtTheTopOfTheLine) {
    Draw("m<u>2</u>", {10, 5});
    const int mEnd = 10 + Advance("m", 0, N);
    const auto [mTop, mBottom] = InkRows(10, mEnd);
    const auto [twoTop, twoBottom] = InkRows(mEnd, mEnd + Advance("2", 0, S) + 1);
    ASSERT_GE(mTop, 5);
    ASSERT_GE(twoTop, 5);
    EXPECT_LT(twoBottom, mBottom);
    EXPECT_LE(twoTop, mTop);
}

TEST_F(DrawUnitNameTest, AnErrorStopsTheDrawing) {
    const QPoint end = Draw("ab<f/>cdefgh", {0, 0});
    EXPECT_EQ(end.x(), Advance("ab", 0, N));
    const auto [top, bottom] = InkRows(end.x() + 1, FImage.width());
    EXPECT_EQ(top, -1);
}

TEST_F(DrawUnitNameTest, TextIsDrawnInThePenColour) {
    Draw("<b>MM</b>", {0, 0});
    const auto [top, bottom] = InkRows(0, Advance("MM", 0, N, true));
    EXPECT_GE(top, 0);
    EXPECT_GT(bottom, top);
}

}  // namespace
}  // namespace quenmark
