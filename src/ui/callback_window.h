#pragma once

#include "ui/tray_shell.h"

#include <QObject>

namespace quenmark {

// Receives the notification-area messages of every tray icon and hands each
// to the living, enabled icon it names, with the cursor position.
class TCallbackWindow : public QObject {
    Q_OBJECT

public:
    explicit TCallbackWindow(QObject* owner = nullptr);

    void Notify(int id, TTrayMessage message);
};

// The process-wide callback window; null until a tray icon creates it.
TCallbackWindow* CallbackWindow();
// The callback window, created as a child of owner when there is none.
TCallbackWindow* EnsureCallbackWindow(QObject* owner);

}  // namespace quenmark
