#pragma once

#include <QAction>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <memory>

class QMenu;

namespace quenmark {

class TTrayIcon;
class TTrayShell;

// The main window's entry in the notification area: its icon and tip, the
// control menu on a right click, the double click that runs the window's
// current show-or-hide action, and the pointer position it reports.
class TMainWindowTray : public QObject {
    Q_OBJECT

public:
    // Without a shell the entry uses the desktop's notification area.
    TMainWindowTray(QObject* owner, std::unique_ptr<TTrayShell> shell, QMenu* menu);
    ~TMainWindowTray() override;

    void SetTip(const QString& tip);
    // The picture, and whether the entry is shown at all.
    void Apply(const QIcon& icon, bool visible);
    // The action a double click runs.
    void SetDoubleClickAction(QAction* action) { FDoubleClickAction = action; }
    QAction* DoubleClickAction() const { return FDoubleClickAction; }
    // Disabled, the entry ignores the mouse.
    void SetEnabled(bool enabled);
    bool Enabled() const;
    bool Visible() const;
    // Whether the desktop has a notification area to hide into.
    bool Available() const;

    // Told the screen position of the pointer whenever it moves over the entry.
    std::function<void(QPoint)> OnPointerMoved;

    TTrayIcon& Icon() { return *FIcon; }

private:
    std::unique_ptr<TTrayIcon> FIcon;
    QPointer<QAction> FDoubleClickAction;
};

}  // namespace quenmark
