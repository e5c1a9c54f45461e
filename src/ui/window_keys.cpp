#include "ui/window_keys.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace quenmark {

bool IsWindowActionKey(const QWidget& window, const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    for (const QAction* action : window.actions()) {
        if (!action->isEnabled() || action->shortcutContext() == Qt::WidgetShortcut) continue;
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch) return true;
    }
    return false;
}

bool IsContextMenuKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Menu) return modifiers == Qt::NoModifier;
    return event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
}

}  // namespace quenmark
