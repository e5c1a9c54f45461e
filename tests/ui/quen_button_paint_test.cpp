#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"

#include "widget_test_support.h"

#include <QFontMetrics>
#include <QPainter>

#include <vector>

namespace quenmark {
namespace {

using test::BorderRGB;
using test::FaceRGB;
using test::PixelAt;
using test::PushRGB;
using test::SelectedRGB;
using test::Snapshot;
using test::TextRGB;

class ButtonPaintTest : public test::WindowTest {
protected:
    template <typename Button = TQuenButton>
    Button* MakeButton(int width, int height) {
        auto* button = new Button(Window());
        button->setGeometry(20, 20, width, height);
        button->SetFaceColor(FaceRGB);
        button->SetBorderColor(BorderRGB);
        button->SetTextColor(TextRGB);
        button->SetSelectedColor(SelectedRGB);
        button->SetPushColor(PushRGB);
        button->SetBlink(false);
        button->show();
        return button;
    }

    // The button as painted in state: focus selects it, and the pushed face
    // is taken while its click runs.
    QImage PaintedIn(TQuenButton& button, TQuenDrawType state) {
        if (state == dtSelected) button.setFocus();
        if (state != dtPushed) return Snapshot(button);
        QImage pushed;
        button.OnClick = [&](QObject*) { pushed = Snapshot(button); };
        button.Click();
        return pushed;
    }

    void SetUp() override {
        test::WindowTest::SetUp();
        ShowWindow();
    }
};

struct StateRow {
    const char* name;
    friend void PrintTo(const StateRow& row, std::ostream* os) { *os << row.name; }
    TQuenDrawType state;
    TColor face;
    TColor fore;
};

class ButtonStatePaintTest : public ButtonPaintTest,
                             public ::testing::WithParamInterface<StateRow> {};

TEST_P(ButtonStatePaintTest, FrameAroundTheFaceOfTheState) {
    TQuenButton* button = MakeButton(16, 16);
    button->SetButtonStyle(qbClose);
    const QImage image = PaintedIn(*button, GetParam().state);
    EXPECT_EQ(PixelAt(image, 0, 0), ToQColor(BorderRGB));
    EXPECT_EQ(PixelAt(image, 15, 8), ToQColor(BorderRGB));
    EXPECT_EQ(PixelAt(image, 8, 15), ToQColor(BorderRGB));
    EXPECT_EQ(PixelAt(image, 1, 1), ToQColor(FaceRGB));
    EXPECT_EQ(PixelAt(image, 14, 14), ToQColor(FaceRGB));
    EXPECT_EQ(PixelAt(image, 2, 8), ToQColor(GetParam().face));
    EXPECT_EQ(PixelAt(image, 13, 8), ToQColor(GetParam().face));
    EXPECT_EQ(PixelAt(image, 5, 5), ToQColor(GetParam().fore));
}

INSTANTIATE_TEST_SUITE_P(States, ButtonStatePaintTest,
                         ::testing::Values(StateRow{"Normal", dtNormal, FaceRGB, TextRGB},
                                           StateRow{"Selected", dtSelected, SelectedRGB, FaceRGB},
                                           StateRow{"PushedUsesTheComplementForGlyphs", dtPushed,
                                                    PushRGB, ComplementColor(PushRGB)}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ButtonPaintTest, CloseGlyphDiagonalsLeaveOutTheirEndPoints) {
    TQuenButton* button = MakeButton(16, 16);
    button->SetButtonStyle(qbClose);
    const QImage image = Snapshot(*button);
    const QColor text = ToQColor(TextRGB);
    // (3, 3) to (13, 13) and (12, 3) to (2, 13), each without its end point.
    for (int i = 3; i <= 12; ++i) {
        EXPECT_EQ(PixelAt(image, i, i), text) << "falling diagonal at " << i;
        EXPECT_EQ(PixelAt(image, 15 - i, i), text) << "rising diagonal at " << i;
    }
    EXPECT_NE(PixelAt(image, 13, 13), text);
    EXPECT_NE(PixelAt(image, 2, 13), text);
    EXPECT_EQ(PixelAt(image, 8, 4), ToQColor(FaceRGB));
    EXPECT_EQ(PixelAt(image, 4, 8), ToQColor(FaceRGB));
}

struct GlyphRow {
    const char* name;
    friend void PrintTo(const GlyphRow& row, std::ostream* os) { *os << row.name; }
    TQuenButtonStyle style;
    std::vector<QPoint> inside;
    std::vector<QPoint> outside;
};

class ButtonGlyphPaintTest : public ButtonPaintTest,
                             public ::testing::WithParamInterface<GlyphRow> {};

// On a 20 × 20 button the arrows have their tip at a quarter of the size
// from the edge they point to and their base at three quarters.
TEST_P(ButtonGlyphPaintTest, ArrowTriangleIsFilledInTheTextColour) {
    TQuenButton* button = MakeButton(20, 20);
    button->SetButtonStyle(GetParam().style);
    const QImage image = Snapshot(*button);
    for (QPoint point : GetParam().inside) {
        EXPECT_EQ(PixelAt(image, point.x(), point.y()), ToQColor(TextRGB))
            << point.x() << "," << point.y();
    }
    for (QPoint point : GetParam().outside) {
        EXPECT_EQ(PixelAt(image, point.x(), point.y()), ToQColor(FaceRGB))
            << point.x() << "," << point.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Arrows, ButtonGlyphPaintTest,
                         ::testing::Values(GlyphRow{"Up",
                                                    qbUp,
                                                    {{10, 5}, {10, 10}, {3, 15}, {16, 15}},
                                                    {{10, 4}, {5, 7}, {10, 16}, {17, 15}}},
                                           GlyphRow{"Down",
                                                    qbDown,
                                                    {{10, 15}, {10, 10}, {3, 5}, {16, 5}},
                                                    {{10, 16}, {5, 13}, {10, 4}, {17, 5}}},
                                           GlyphRow{"Left",
                                                    qbLeft,
                                                    {{5, 10}, {10, 10}, {15, 3}, {15, 16}},
                                                    {{4, 10}, {7, 5}, {16, 10}, {15, 17}}},
                                           GlyphRow{"Right",
                                                    qbRight,
                                                    {{15, 10}, {10, 10}, {5, 3}, {5, 16}},
                                                    {{16, 10}, {13, 5}, {4, 10}, {5, 17}}}),
                         [](const auto& row) { return std::string(row.param.name); });

// The columns holding pixels of the text colour's family (text is smoothed).
std::pair<int, int> TextColumns(const QImage& image) {
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() < 100 && c.blue() < 100 && c.red() < 180) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

struct AlignmentRow {
    const char* name;
    friend void PrintTo(const AlignmentRow& row, std::ostream* os) { *os << row.name; }
    TAlignment alignment;
};

class ButtonTextPaintTest : public ButtonPaintTest,
                            public ::testing::WithParamInterface<AlignmentRow> {};

TEST_P(ButtonTextPaintTest, CaptionIsPlacedByItsAlignment) {
    TQuenButton* button = MakeButton(100, 24);
    button->SetFont(QFont("Arial", 10));
    button->SetText("HEX");
    button->SetAlignment(GetParam().alignment);
    const auto [first, last] = TextColumns(Snapshot(*button));
    const int width = QFontMetrics(button->font()).horizontalAdvance("HEX");
    ASSERT_LE(first, last);
    switch (GetParam().alignment) {
    case taLeftJustify:
        EXPECT_GE(first, 4);
        EXPECT_LE(first, 6);
        break;
    case taRightJustify:
        EXPECT_LE(last, 100 - 4);
        EXPECT_GE(last, 100 - 4 - 3);
        break;
    case taCenter: EXPECT_NEAR((first + last) / 2.0, 50, 2); break;
    }
    EXPECT_LE(last - first + 1, width + 1);
}

INSTANTIATE_TEST_SUITE_P(Alignments, ButtonTextPaintTest,
                         ::testing::Values(AlignmentRow{"Left", taLeftJustify},
                                           AlignmentRow{"Right", taRightJustify},
                                           AlignmentRow{"Centre", taCenter}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ButtonPaintTest, CaptionIsClippedToTheFace) {
    TQuenButton* button = MakeButton(30, 20);
    button->SetFont(QFont("Arial", 10));
    button->SetText("WWWWWWWWWW");
    button->SetAlignment(taLeftJustify);
    const QImage image = Snapshot(*button);
    EXPECT_LE(TextColumns(image).second, 27);
    EXPECT_GE(TextColumns(image).second, 24);
    for (int y = 1; y < 19; ++y) EXPECT_EQ(PixelAt(image, 28, y), ToQColor(FaceRGB)) << y;
}

TEST_F(ButtonPaintTest, RoundSizeRoundsFrameAndFace) {
    TQuenButton* button = MakeButton(30, 20);
    button->SetRoundSize(10);
    const QImage image = Snapshot(*button);
    EXPECT_NE(PixelAt(image, 0, 0), ToQColor(BorderRGB));
    EXPECT_EQ(PixelAt(image, 15, 0), ToQColor(BorderRGB));
    EXPECT_EQ(PixelAt(image, 0, 10), ToQColor(BorderRGB));
}

TEST_F(ButtonPaintTest, OwnerDrawReplacesTheStandardFace) {
    TQuenButton* button = MakeButton(16, 16);
    button->SetButtonStyle(qbClose);
    button->SetStyle(dsOwnerDraw);
    QRect faceRect;
    TColor back = 0;
    TColor fore = 0;
    TQuenDrawType state = dtPushed;
    button->OnDrawFace = [&](TQuenButton* sender, const QRect& rect, TQuenDrawType s, TColor b,
                             TColor f) {
        faceRect = rect;
        state = s;
        back = b;
        fore = f;
        sender->Canvas()->fillRect(rect, QColor(1, 2, 3));
    };
    const QImage image = Snapshot(*button);
    EXPECT_EQ(faceRect, QRect(2, 2, 12, 12));
    EXPECT_EQ(state, dtNormal);
    EXPECT_EQ(back, FaceRGB);
    EXPECT_EQ(fore, TextRGB);
    EXPECT_EQ(PixelAt(image, 5, 5), QColor(1, 2, 3));
    EXPECT_EQ(PixelAt(image, 0, 0), ToQColor(BorderRGB));
}

TEST_F(ButtonPaintTest, OwnerDrawWithoutHandlerDrawsTheStandardFace) {
    TQuenButton* button = MakeButton(16, 16);
    button->SetButtonStyle(qbClose);
    button->SetStyle(dsOwnerDraw);
    EXPECT_EQ(PixelAt(Snapshot(*button), 5, 5), ToQColor(TextRGB));
}

TEST_F(ButtonPaintTest, ComboBoxDrawsADropTriangleOnTheRight) {
    auto* combo = MakeButton<TQuenComboBox>(80, 20);
    const QImage image = Snapshot(*combo);
    // x0 = 62, x1 = 78, d = 16: corners (70, 12), (66, 8) and (74, 8).
    for (QPoint point : {QPoint(70, 12), QPoint(66, 8), QPoint(74, 8), QPoint(70, 10)}) {
        EXPECT_EQ(PixelAt(image, point.x(), point.y()), ToQColor(TextRGB))
            << point.x() << "," << point.y();
    }
    for (QPoint point :
         {QPoint(70, 13), QPoint(70, 7), QPoint(65, 8), QPoint(75, 8), QPoint(67, 11)}) {
        EXPECT_EQ(PixelAt(image, point.x(), point.y()), ToQColor(FaceRGB))
            << point.x() << "," << point.y();
    }
}

TEST_F(ButtonPaintTest, ComboBoxDropButtonCoversTheCaption) {
    auto* combo = MakeButton<TQuenComboBox>(60, 20);
    combo->SetFont(QFont("Arial", 10));
    combo->SetItems({"WWWWWWWWWWWW"});
    combo->SetItemIndex(0);
    const QImage image = Snapshot(*combo);
    const auto [first, last] = TextColumns(image);
    EXPECT_GE(first, 4);
    // The drop button starts at width - height + 2 = 42; only its triangle
    // (from x = 46) may hold the text colour there.
    for (int x = 42; x < 46; ++x) {
        for (int y = 2; y < 18; ++y)
            EXPECT_EQ(PixelAt(image, x, y), ToQColor(FaceRGB)) << x << "," << y;
    }
    EXPECT_GT(last, 46);
}

}  // namespace
}  // namespace quenmark
