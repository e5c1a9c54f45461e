#include "ui/tray_icon.h"

#include "ui/qt_tray_shell.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>

#include <utility>

namespace quenmark {

namespace {

// The first length characters, without half of a surrogate pair at the end.
QString CutText(const QString& text, int length) {
    QString cut = text.left(length);
    if (cut.size() == length && cut.back().isHighSurrogate()) cut.chop(1);
    return cut;
}

}  // namespace

TTrayIcon::TTrayIcon(QObject* owner, std::unique_ptr<TTrayShell> shell) : QObject(owner) {
    FShell = shell ? std::move(shell)
                   : std::make_unique<TQtTrayShell>(
                         [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
    FData.ID = EntryID;
    FSingleClick.setSingleShot(true);
    FSingleClick.setTimerType(Qt::PreciseTimer);
    connect(&FSingleClick, &QTimer::timeout, this, &TTrayIcon::SingleClickEnded);
}

TTrayIcon::~TTrayIcon() {
    if (FShown) FShell->Delete(EntryID);
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
        FShell->Delete(EntryID);
        FShown = false;
        break;
    }
}

// Qt reports a left click on its press, and the second press of a double
// click as DoubleClick instead of another click; each activation stands for
// a press and its release. Every handler may destroy the icon, so each step
// checks that it still lives.
void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (!FEnabled) return;
    const QPointer<TTrayIcon> alive(this);
    const QPoint position = QCursor::pos();
    if (reason != QSystemTrayIcon::DoubleClick && reason != QSystemTrayIcon::Unknown && OnMouseMove) {
        OnMouseMove(this, 0, position.x(), position.y());
        if (!alive) return;
    }
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        ButtonDown(FLBPopupMenu, mbLeft, ssLeft, position);
        if (alive) LeftButtonUp(position);
        break;
    case QSystemTrayIcon::DoubleClick: DoubleClicked(position); break;
    case QSystemTrayIcon::Context:
        ButtonDown(FRBPopupMenu, mbRight, ssRight, position);
        if (alive) ButtonUp(mbRight, ssRight, position);
        break;
    case QSystemTrayIcon::MiddleClick:
        if (OnMouseDown) OnMouseDown(this, mbMiddle, ssMiddle, position.x(), position.y());
        if (alive) ButtonUp(mbMiddle, ssMiddle, position);
        break;
    case QSystemTrayIcon::Unknown: break;
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

void TTrayIcon::ButtonUp(TMouseButton button, TShiftState shift, QPoint position) {
    if (OnMouseUp) OnMouseUp(this, button, shift, position.x(), position.y());
}

// A first release waits for the double-click time before it counts as a
// click; a second one within that time cancels it, and a double click takes
// its place. With OnMouseUp set, the release is that event and no click.
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

// The click waiting since the first press was the first half of this
// double click, so it never fires.
void TTrayIcon::DoubleClicked(QPoint position) {
    FSingleClick.stop();
    FClickPending = false;
    const QPointer<TTrayIcon> alive(this);
    if (OnDblClick) OnDblClick(this);
    if (alive && OnMouseUp) OnMouseUp(this, mbLeft, ssLeft, position.x(), position.y());
}

void TTrayIcon::SingleClickEnded() {
    const bool fire = OnClick && FClickPending;
    FClickPending = false;
    if (fire) OnClick(this);
}

}  // namespace quenmark
