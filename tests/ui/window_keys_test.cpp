// Which keys open the control menu and which are the window's own commands.
#include "ui/window_keys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace quenmark {
namespace {

QKeyEvent Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers);
}

struct ContextMenuKeyRow {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    bool Opens;
};

TEST(WindowKeysTest, TheMenuKeyAndShiftF10OpenAContextMenu) {
    const ContextMenuKeyRow rows[] = {
        {Qt::Key_Menu, Qt::NoModifier, true},
        {Qt::Key_F10, Qt::ShiftModifier, true},
        {Qt::Key_F10, Qt::NoModifier, false},
        {Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier, false},
        {Qt::Key_Menu, Qt::ControlModifier, false},
        {Qt::Key_F9, Qt::ShiftModifier, false},
        {Qt::Key_Escape, Qt::NoModifier, false},
    };
    for (const ContextMenuKeyRow& row : rows) {
        const QKeyEvent event = Press(row.Key, row.Modifiers);
        EXPECT_EQ(IsContextMenuKey(event), row.Opens) << row.Key << " " << row.Modifiers.toInt();
    }
}

class WindowActionKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        FUnit = new QAction(&FWindow);
        FUnit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
        FWindow.addAction(FUnit);
        FHelp = new QAction(&FWindow);
        FHelp->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_Help)});
        FWindow.addAction(FHelp);
        // An action with a key that is not the window's: it belongs only to
        // whatever widget it is added to.
        FElsewhere = new QAction(&FWindow);
        FElsewhere->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    }

    QWidget FWindow;
    QAction* FUnit = nullptr;
    QAction* FHelp = nullptr;
    QAction* FElsewhere = nullptr;
};

TEST_F(WindowActionKeyTest, OnlyTheKeysOfTheWindowsEnabledActionsAreItsOwn) {
    EXPECT_TRUE(IsWindowActionKey(FWindow, Press(Qt::Key_U, Qt::ControlModifier)));
    EXPECT_TRUE(IsWindowActionKey(FWindow, Press(Qt::Key_F1)));
    EXPECT_TRUE(IsWindowActionKey(FWindow, Press(Qt::Key_Help)));
    EXPECT_FALSE(IsWindowActionKey(FWindow, Press(Qt::Key_U)));
    EXPECT_FALSE(IsWindowActionKey(FWindow, Press(Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier)));
    EXPECT_FALSE(IsWindowActionKey(FWindow, Press(Qt::Key_K, Qt::ControlModifier)));
    FUnit->setEnabled(false);
    EXPECT_FALSE(IsWindowActionKey(FWindow, Press(Qt::Key_U, Qt::ControlModifier)));
    FHelp->setShortcutContext(Qt::WidgetShortcut);
    EXPECT_FALSE(IsWindowActionKey(FWindow, Press(Qt::Key_F1)));
}

}  // namespace
}  // namespace quenmark
