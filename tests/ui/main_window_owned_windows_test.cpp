// The windows the main window opens: each is owned by it (transient for
// it), stays on top while it does, and takes the keyboard focus where the
// user types next.
#include "main_window_test_support.h"

#include "definitions/language.h"
#include "ui/help_window.h"
#include "ui/quen_button.h"
#include "ui/unit_window.h"

#include <QAction>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace quenmark::test {
namespace {

class MainWindowOwnedWindows : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FLanguages.Add(TCCLanguage::CreateBuiltIn(FContext, FDirectory.path().toStdString() + "/"));
        FLanguages.Select(&FLanguages.Items(0));
    }

    TfrmCalQuen& MakeActiveWindow(bool alwaysOnTop) {
        FSettings->AlwaysOnTop = alwaysOnTop;
        MakeWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
        return Window();
    }

    // Owned by the main window, known to the window system as its transient,
    // and on top exactly when the main window is.
    void ExpectOwned(QWidget& window, bool onTop) {
        EXPECT_EQ(window.parentWidget(), &Window());
        EXPECT_TRUE(window.isWindow());
        ASSERT_NE(window.windowHandle(), nullptr);
        EXPECT_EQ(window.windowHandle()->transientParent(), Window().windowHandle());
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    }

    // Whether the widget has the keyboard focus once the window system has
    // activated its window. (A tool window counts as active already while
    // its owner is, so waiting for activation does not do.)
    static bool HasFocus(QWidget* widget) {
        return QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; });
    }

    // Runs check on the modal window as soon as it is up, then closes it.
    void WhenModalIsUp(std::function<void(QWidget&)> check) {
        QTimer::singleShot(0, [check = std::move(check)]() {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            check(*modal);
            modal->close();
        });
    }

};

TEST_F(MainWindowOwnedWindows, TheUnitWindowIsOwnedAndTakesTheFocusInItsNumberField) {
    for (const bool onTop : {true, false}) {
        MakeActiveWindow(onTop);
        Window().btnUnit->Click();
        TfrmCalUnit* unit = Window().UnitWindow();
        ASSERT_NE(unit, nullptr);
        ExpectOwned(*unit, onTop);
        EXPECT_TRUE(HasFocus(unit->edtFromVar));
    }
}

TEST_F(MainWindowOwnedWindows, TheAutoButtonHandsTheFocusBackToTheInputLine) {
    MakeActiveWindow(true);
    Window().actUnit->trigger();
    ASSERT_TRUE(HasFocus(Window().UnitWindow()->edtFromVar));
    Window().UnitWindow()->btnAuto->Click();
    EXPECT_TRUE(HasFocus(Window().edtLine));
}

TEST_F(MainWindowOwnedWindows, TheHelpWindowIsOwned) {
    MakeActiveWindow(true);
    Window().actHelpContents->trigger();
    ASSERT_NE(Window().HelpWindow(), nullptr);
    ExpectOwned(*Window().HelpWindow(), true);
}

TEST_F(MainWindowOwnedWindows, TheOptionsDialogIsOwned) {
    MakeActiveWindow(true);
    bool checked = false;
    WhenModalIsUp([&](QWidget& dialog) {
        ExpectOwned(dialog, true);
        checked = true;
    });
    Window().actOption->trigger();
    EXPECT_TRUE(checked);
}

TEST_F(MainWindowOwnedWindows, TheExitQuestionIsOwnedAndAnswersInTheCurrentLanguage) {
    FSettings->AlwaysOnTop = true;
    FWindow = std::make_unique<TfrmCalQuen>(Context());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QStringList buttons;
    WhenModalIsUp([&](QWidget& box) {
        ExpectOwned(box, true);
        auto* question = qobject_cast<QMessageBox*>(&box);
        ASSERT_NE(question, nullptr);
        for (QAbstractButton* button : question->buttons()) buttons << button->text();
    });
    Window().actExit->trigger();
    buttons.sort();
    // Without a message file the captions are their codes.
    EXPECT_EQ(buttons, QStringList({QStringLiteral("QEN902"), QStringLiteral("QEN903")}));
    EXPECT_TRUE(Window().isVisible());
}

}  // namespace
}  // namespace quenmark::test
