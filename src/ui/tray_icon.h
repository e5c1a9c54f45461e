#pragma once

#include "ui/control_types.h"
#include "ui/tray_shell.h"
#include "base/exception.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

#include <QMenu>

namespace quenmark {

// The message of a refused notification-area entry.
inline constexpr const char* TrayIconRefusedMessage = "タスクトレイにアイコンを登録できません。";

enum TTrayOperation { NIM_ADD, NIM_MODIFY, NIM_DELETE };

// An icon with a tool tip in the desktop's notification area. It turns the
// entry's activations into mouse events, opens a menu per button, and tells
// a single click (OnClick, after the double-click time) from a double click
// (OnDblClick only) with one timer.
class TTrayIcon : public QObject {
    Q_OBJECT

public:
    // The tool tip keeps at most this many characters.
    static constexpr int MaxTipLength = 62;
    // Added to the double-click time before a single click counts.
    static constexpr int SingleClickMarginMs = 50;

    // The identifier of the entry in the icon's own shell.
    static constexpr int EntryID = 1;

    // Without a shell the icon uses the desktop's notification area.
    explicit TTrayIcon(QObject* owner = nullptr, std::unique_ptr<TTrayShell> shell = nullptr);
    ~TTrayIcon() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    const QIcon& Icon() const { return FIcon; }
    // A null icon clears the picture and hides the entry.
    void SetIcon(const QIcon& value);
    QMenu* LBPopupMenu() const { return FLBPopupMenu; }
    void SetLBPopupMenu(QMenu* value) { FLBPopupMenu = value; }
    QMenu* RBPopupMenu() const { return FRBPopupMenu; }
    void SetRBPopupMenu(QMenu* value) { FRBPopupMenu = value; }
    const QString& TipHelp() const { return FTipHelp; }
    void SetTipHelp(const QString& value);
    bool Visible() const { return FVisible; }
    // Becomes true only while Icon has a picture.
    void SetVisible(bool value);

    int TrayID() const { return EntryID; }
    bool Shown() const { return FShown; }
    bool ClickPending() const { return FClickPending; }
    // False where the desktop has no notification area: the owner then
    // cannot hide into it.
    bool Available() const { return FShell->Available(); }
    TTrayShell& Shell() { return *FShell; }

    // While loading, visibility changes wait for Loaded, which adds the
    // entry once when it is to be visible.
    void BeginLoading() { FLoading = true; }
    void Loaded();
    void UpdateTray(TTrayOperation operation);

    // What the user did with the entry, the cursor where it is now. Ignored
    // while the icon is not Enabled.
    void Activated(QSystemTrayIcon::ActivationReason reason);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

private:
    void FillRecord();
    void ButtonDown(QMenu* menu, TMouseButton button, TShiftState shift, QPoint position);
    void ButtonUp(TMouseButton button, TShiftState shift, QPoint position);
    void LeftButtonUp(QPoint position);
    void DoubleClicked(QPoint position);
    void SingleClickEnded();

    std::unique_ptr<TTrayShell> FShell;
    TNotifyIconData FData;
    bool FAutoPopup = true;
    bool FEnabled = true;
    QIcon FIcon;
    QPointer<QMenu> FLBPopupMenu;
    QPointer<QMenu> FRBPopupMenu;
    QString FTipHelp = QStringLiteral("TipHelp");
    bool FVisible = false;
    bool FShown = false;
    bool FClickPending = false;
    bool FLoading = false;
    // Runs for the double-click time after a first release.
    QTimer FSingleClick;
};

}  // namespace quenmark
