// The main window by keyboard: a key for each command of the control menu,
// the control menu itself by Shift+F10 and the Menu key, the desktop's close
// asking as Exit does, Escape closing the help window.
#include "main_window_test_support.h"

#include "definitions/language.h"
#include "ui/help_window.h"
#include "ui/quen_button.h"
#include "ui/unit_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include <set>

namespace quenmark::test {
namespace {

class MainWindowKeysTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        FLanguages.Add(TCCLanguage::CreateBuiltIn(FContext, QUENMARK_DIALOG_TEST_RESOURCES));
        FLanguages.Select(&FLanguages.Items(0));
        MakeWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        Window().edtLine->setFocus();
    }

    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        MainWindowTest::TearDown();
    }

    // The command items of a menu and its submenus.
    static std::vector<QAction*> Commands(const QMenu& menu) {
        std::vector<QAction*> commands;
        for (QAction* action : menu.actions()) {
            if (action->isSeparator() || !action->isVisible()) continue;
            if (action->menu()) {
                for (QAction* inner : Commands(*action->menu())) commands.push_back(inner);
            } else {
                commands.push_back(action);
            }
        }
        return commands;
    }

    void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(target, key, modifiers);
    }

    void ActivateInput() {
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        Window().edtLine->setFocus();
    }

    // The key typed in the input line of the active main window.
    void PressInInput(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ActivateInput();
        Press(Window().edtLine, key, modifiers);
    }

    // The key typed in the input line opens a modal window: whether it did.
    bool PressOpensModal(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        ActivateInput();
        std::shared_ptr<bool> seen = CloseModalWhenUp();
        Press(Window().edtLine, key, modifiers);
        return *seen;
    }

    // Closes the modal window that comes up and tells whether one did.
    static std::shared_ptr<bool> CloseModalWhenUp() {
        auto seen = std::make_shared<bool>(false);
        QTimer::singleShot(0, [seen] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                *seen = true;
                modal->close();
            }
        });
        return seen;
    }
};

TEST_F(MainWindowKeysTest, EveryCommandOfTheControlMenuShowsAKeyOfItsOwn) {
    std::set<QString> keys;
    const std::vector<QAction*> commands = Commands(*Window().mnuControl);
    ASSERT_GE(commands.size(), 8u);
    for (QAction* command : commands) {
        const QString key = command->shortcut().toString();
        EXPECT_FALSE(key.isEmpty()) << command->objectName().toStdString();
        EXPECT_TRUE(command->isShortcutVisibleInContextMenu()) << command->objectName().toStdString();
        EXPECT_TRUE(keys.insert(key).second) << key.toStdString() << " twice";
    }
}

TEST_F(MainWindowKeysTest, KeysInTheInputLineRunTheWindowsCommands) {
    PressInInput(Qt::Key_U, Qt::ControlModifier);
    ASSERT_NE(Window().UnitWindow(), nullptr);
    EXPECT_TRUE(Window().UnitWindow()->isVisible());

    PressInInput(Qt::Key_F1);
    ASSERT_NE(Window().HelpWindow(), nullptr);
    EXPECT_TRUE(Window().HelpWindow()->isVisible());
    Window().HelpWindow()->close();

    PressInInput(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(Window().HelpWindow()->isVisible());

    EXPECT_TRUE(PressOpensModal(Qt::Key_Comma, Qt::ControlModifier));
    EXPECT_TRUE(PressOpensModal(Qt::Key_F1, Qt::ControlModifier));

    PressInInput(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(FQuestions.size(), 1);
    EXPECT_TRUE(Window().isVisible());  // the answer was no
}

TEST_F(MainWindowKeysTest, ShiftF10AndTheMenuKeyOpenTheControlMenuBelowItsButton) {
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_F10, Qt::ShiftModifier},
                                         std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        Window().edtLine->setFocus();
        Press(Window().edtLine, key, modifiers);
        ASSERT_TRUE(Window().mnuControl->isVisible()) << key;
        EXPECT_EQ(Window().mnuControl->activeAction(), Window().HideItemAction());
        const QPoint below = Window().btnControl->mapToGlobal(QPoint(0, Window().btnControl->height()));
        EXPECT_LE((Window().mnuControl->pos() - below).manhattanLength(), 2);
        Window().mnuControl->close();
    }
}

TEST_F(MainWindowKeysTest, TheInputKeepsItsEditMenuOnARightClickOnly) {
    QContextMenuEvent byKeyboard(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                 Window().edtLine->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Window().edtLine, &byKeyboard);
    EXPECT_TRUE(Window().mnuControl->isVisible());
    Window().mnuControl->close();

    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, QPoint(5, 5), Window().edtLine->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Window().edtLine, &byMouse);
    EXPECT_FALSE(Window().mnuControl->isVisible());
    QWidget* editMenu = QApplication::activePopupWidget();
    ASSERT_NE(editMenu, nullptr);
    EXPECT_NE(editMenu, Window().mnuControl);
}

TEST_F(MainWindowKeysTest, ClosingByTheDesktopAsksAsExitDoes) {
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    FAnswer = false;
    Window().windowHandle()->close();  // what the window manager's close does
    EXPECT_EQ(FQuestions.size(), 1);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(ended.count(), 0);

    FAnswer = true;
    Window().windowHandle()->close();
    EXPECT_EQ(FQuestions.size(), 2);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(FQuestions.front().toStdString(), FLanguages.GetText("QEN901"));
}

TEST_F(MainWindowKeysTest, ExitAsksOnceAndNotAgainOnItsClose) {
    QSignalSpy ended(&Window(), &TfrmCalQuen::RunEnded);
    FAnswer = true;
    Window().actExit->trigger();
    EXPECT_EQ(FQuestions.size(), 1);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(MainWindowKeysTest, EscapeClosesTheHelpWindow) {
    Window().actHelpContents->trigger();
    THelpWindow* help = Window().HelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    Press(help->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(Window().isVisible());
}

}  // namespace
}  // namespace quenmark::test
