#pragma once

class QKeyEvent;
class QWidget;

namespace quenmark {

// Whether the key is the shortcut of one of the window's own actions (those
// added to the window itself). A control such as the input line claims some
// of them for its own editing (Ctrl+U); the window's command wins there.
bool IsWindowActionKey(const QWidget& window, const QKeyEvent& event);

// Whether the key opens a context menu from the keyboard: the Menu key or
// Shift+F10.
bool IsContextMenuKey(const QKeyEvent& event);

}  // namespace quenmark
