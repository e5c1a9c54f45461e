#include "main_window_test_support.h"

#include "ui/main_window_completion.h"
#include "ui/quen_popup_list.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace quenmark::test {
namespace {

class MainWindowCompletion : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FSettings->Save();
        MakeWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        EnterLine(QStringLiteral("toll = 3"));
        EnterLine(QStringLiteral("total = 12"));
    }

    QLineEdit* Input() { return Window().edtLine; }
    bool PopupShown() { return Window().Completion().Popup()->isVisible(); }
    void Type(const QString& text) {
        Input()->clear();
        QTest::keyClicks(Input(), text);
    }
};

TEST_F(MainWindowCompletion, PopupKeysChooseTakeAndCloseWithoutStealingTheLine) {
    Type(QStringLiteral("t"));
    EXPECT_FALSE(PopupShown()) << "one letter offers nothing";
    QTest::keyClicks(Input(), QStringLiteral("o"));
    ASSERT_TRUE(PopupShown());
    EXPECT_EQ(Window().Completion().Popup()->Items(), QStringList({QStringLiteral("toll"), QStringLiteral("total")}));
    EXPECT_TRUE(Input()->hasFocus()) << "the list leaves the focus in the input line";

    PressKey(Input(), Qt::Key_Escape);
    EXPECT_FALSE(PopupShown());
    EXPECT_TRUE(Window().isVisible()) << "Escape closed only the list";

    Type(QStringLiteral("to"));
    PressKey(Input(), Qt::Key_Down);
    PressKey(Input(), Qt::Key_Return);
    EXPECT_EQ(Input()->text(), QStringLiteral("total")) << "Enter after Down takes the choice";
    EXPECT_EQ(Log().last(), QStringLiteral("12")) << "and runs nothing";

    Type(QStringLiteral("to"));
    PressKey(Input(), Qt::Key_Tab);
    EXPECT_EQ(Input()->text(), QStringLiteral("toll")) << "Tab takes the first choice";
    EXPECT_TRUE(Input()->hasFocus());

    Type(QStringLiteral("to"));
    PressKey(Input(), Qt::Key_Return);
    EXPECT_FALSE(PopupShown());
    EXPECT_EQ(Log().mid(Log().size() - 2, 1), QStringList({QStringLiteral("> to")})) << "a plain Enter runs the line";

    PressKey(Input(), Qt::Key_Up);
    EXPECT_EQ(Input()->text(), QStringLiteral("to")) << "without the list Up recalls the history";

    FSettings->AutoComplete = false;
    Type(QStringLiteral("to"));
    EXPECT_FALSE(PopupShown());
}

TEST_F(MainWindowCompletion, AltPeriodRecallsResultsAndCopyResultTakesTheLastAsShown) {
    EnterLine(QStringLiteral("@HEX"));
    EnterLine(QStringLiteral("255"));
    Type(QStringLiteral("x = "));
    QTest::keyClick(Input(), Qt::Key_Period, Qt::AltModifier);
    EXPECT_EQ(Input()->text(), QStringLiteral("x = 0xFF"));
    QTest::keyClick(Input(), Qt::Key_Period, Qt::AltModifier);
    EXPECT_EQ(Input()->text(), QStringLiteral("x = 12"));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Input(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("HEX : FF"));
    EXPECT_TRUE(Window().mnuControl->actions().contains(Window().actCopyResult));
}

}  // namespace
}  // namespace quenmark::test

namespace quenmark::test {
namespace {

// A module's own description is shown as it is in English and marked as
// English in the other languages; the user's own texts are never marked.
using CompletionDescriptionLanguage = MainWindowLanguageTest;

TEST_P(CompletionDescriptionLanguage, MarksOnlyAModulesOwnTextInAnotherLanguage) {
    const TCompletionCandidate fromModule{TCandidateKind::Function, "TAN", "TAN(", "TAN(x): tangent", true};
    const TCompletionCandidate own{TCandidateKind::Variable, "tan2", "tan2", "TAN(x): tangent", false};
    const QString shown = Window().Completion().ShownDescription(fromModule);
    const bool english = FLanguages.Current()->Language() == "English";
    if (english) EXPECT_EQ(shown, QStringLiteral("TAN(x): tangent"));
    else EXPECT_EQ(shown, QString::fromStdString(FLanguages.TextWith("QEN513", "TAN(x): tangent").value_or("")));
    EXPECT_TRUE(shown.contains(QStringLiteral("TAN(x): tangent")));
    EXPECT_EQ(shown != QStringLiteral("TAN(x): tangent"), !english);
    EXPECT_EQ(Window().Completion().ShownDescription(own), QStringLiteral("TAN(x): tangent"));
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, CompletionDescriptionLanguage, ::testing::Values(0u, 1u, 2u));

}  // namespace
}  // namespace quenmark::test
