#include "ui/tray_icon.h"

#include "ui/callback_window.h"
#include "ui/qt_tray_shell.h"
#include "ui/tray_icon_list.h"

#include <QApplication>
#include <QMenu>

#include <utility>

namespace quenmark {

namespace {

std::unique_ptr<TTrayShell> DesktopTrayShell() {
    return std::make_unique<TQtTrayShell>(
        [](int id, TTrayMessage message) { EnsureCallbackWindow(nullptr)->Notify(id, message); });
}

// The first length characters, without half of a surrogate pair at the end.
QString CutText(const QString& text, int length) {
    QString cut = text.left(length);
    if (cut.size() == length && cut.back().isHighSurrogate()) cut.chop(1);
    return cut;
}

}  // namespace

TTrayIcon::TTrayIcon(QObject* owner, std::unique_ptr<TTrayShell> shell)
    : QObject(owner), FTrayID(TrayIconList().NextID()) {
    if (TrayIconList().Count() >= TTrayIconList::MaxCount) {
        throw EOutOfMemory(TrayIconRefusedMessage);
    }
    FShell = shell ? std::move(shell) : DesktopTrayShell();
    FData.ID = FTrayID;
    FSingleClick.setSingleShot(true);
    FSingleClick.setTimerType(Qt::PreciseTimer);
    connect(&FSingleClick, &QTimer::timeout, this, &TTrayIcon::SingleClickEnded);
    EnsureCallbackWindow(owner);
    TrayIconList().Add(FTrayID, this);
}

TTrayIcon::~TTrayIcon() {
    if (FShown) FShell->Delete(FTrayID);
    TrayIconList().Remove(FTrayID);
}

void TTrayIcon::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    if (!value) FClickPending = false;
}

void TTrayIcon::SetIcon(const QIcon& value) {
    if (value.cacheKey() == FIcon.cacheKey()) return;
    if (value.isNull()) {
        FIcon = QIcon();
        SetVisible(false);
        return;
    }
    FIcon = value;
    if (FShown) UpdateTray(NIM_MODIFY);
}

void TTrayIcon::SetTipHelp(const QString& value) {
    const QString tip = CutText(value, MaxTipLength);
    if (tip == FTipHelp) return;
    FTipHelp = tip;
    if (FShown) UpdateTray(NIM_MODIFY);
}

void TTrayIcon::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value && !FIcon.isNull();
    if (FLoading) return;
    if (FVisible) {
        UpdateTray(NIM_ADD);
    } else if (FShown) {
        UpdateTray(NIM_DELETE);
    }
}

void TTrayIcon::Loaded() {
    FLoading = false;
    UpdateTray(NIM_ADD);
}

void TTrayIcon::FillRecord() {
    FData.Icon = FIcon;
    FData.Tip = FTipHelp;
    FData.Flags = NIF_MESSAGE | NIF_ICON | (FTipHelp.isEmpty() ? 0u : NIF_TIP);
}

void TTrayIcon::UpdateTray(TTrayOperation operation) {
    FillRecord();
    switch (operation) {
    case NIM_ADD:
        if (!FVisible) return;
        // An entry that is already there is brought up to date instead.
        if (!(FShown ? FShell->Modify(FData) : FShell->Add(FData))) {
            throw EOutOfMemory(TrayIconRefusedMessage);
        }
        FShown = true;
        break;
    case NIM_MODIFY:
        if (!FShell->Modify(FData)) throw EOutOfMemory(TrayIconRefusedMessage);
        break;
    case NIM_DELETE:
        FShell->Delete(FTrayID);
        FShown = false;
        break;
    }
}

void TTrayIcon::Notification(TTrayMessage message, QPoint position) {
    const int x = position.x();
    const int y = position.y();
    switch (message) {
    case TTrayMessage::MouseMove:
        if (OnMouseMove) OnMouseMove(this, 0, x, y);
        break;
    case TTrayMessage::LButtonDown: ButtonDown(FLBPopupMenu, mbLeft, ssLeft, position); break;
    case TTrayMessage::LButtonUp: LeftButtonUp(position); break;
    case TTrayMessage::LButtonDblClk:
        FClickPending = true;
        if (OnDblClick) OnDblClick(this);
        break;
    case TTrayMessage::RButtonDown: ButtonDown(FRBPopupMenu, mbRight, ssRight, position); break;
    case TTrayMessage::RButtonUp:
        if (OnMouseUp) OnMouseUp(this, mbRight, ssRight, x, y);
        break;
    case TTrayMessage::MButtonDown:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, ssMiddle, x, y);
        break;
    case TTrayMessage::MButtonUp:
        if (OnMouseUp) OnMouseUp(this, mbMiddle, ssMiddle, x, y);
        break;
    }
}

// With a menu for the button (and AutoPopup) the menu opens at the cursor;
// its window comes to the front first so that the menu closes as usual when
// the user clicks elsewhere. Otherwise the press is an OnMouseDown.
void TTrayIcon::ButtonDown(QMenu* menu, TMouseButton button, TShiftState shift, QPoint position) {
    if (menu && FAutoPopup) {
        const QPointer<QMenu> popup(menu);
        QWidget* owner = menu->parentWidget();
        if (owner && owner->window()->isVisible()) {
            owner->window()->activateWindow();
            QCoreApplication::processEvents();
        }
        if (popup) popup->popup(position);
        return;
    }
    if (OnMouseDown) OnMouseDown(this, button, shift, position.x(), position.y());
}

// A first release waits for the double-click time: a double click in that
// time clears ClickPending (the double-click message sets it and the second
// release clears it), so only a lone click reaches OnClick.
void TTrayIcon::LeftButtonUp(QPoint position) {
    if (OnMouseUp) {
        OnMouseUp(this, mbLeft, ssLeft, position.x(), position.y());
        return;
    }
    if (!OnClick) {
        FClickPending = false;
        return;
    }
    if (FClickPending) {
        FClickPending = false;
        return;
    }
    FClickPending = true;
    FSingleClick.start(QApplication::doubleClickInterval() + SingleClickMarginMs);
}

void TTrayIcon::SingleClickEnded() {
    const bool fire = OnClick && FClickPending;
    FClickPending = false;
    if (fire) OnClick(this);
}

}  // namespace quenmark
