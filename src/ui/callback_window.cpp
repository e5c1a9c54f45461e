#include "ui/callback_window.h"

#include "ui/tray_icon.h"
#include "ui/tray_icon_list.h"

#include <QCursor>
#include <QPointer>

namespace quenmark {

namespace {

// Tracked so that a callback window destroyed with its owner is replaced by
// the next tray icon instead of being used after its end.
QPointer<TCallbackWindow>& TheCallbackWindow() {
    static QPointer<TCallbackWindow> window;
    return window;
}

}  // namespace

TCallbackWindow::TCallbackWindow(QObject* owner) : QObject(owner) {}

void TCallbackWindow::Notify(int id, TTrayMessage message) {
    TTrayIcon* icon = TrayIconList().Find(QString::number(id));
    if (!icon || !icon->Enabled()) return;
    icon->Notification(message, QCursor::pos());
}

TCallbackWindow* CallbackWindow() { return TheCallbackWindow(); }

TCallbackWindow* EnsureCallbackWindow(QObject* owner) {
    QPointer<TCallbackWindow>& window = TheCallbackWindow();
    if (!window) window = new TCallbackWindow(owner);
    return window;
}

}  // namespace quenmark
