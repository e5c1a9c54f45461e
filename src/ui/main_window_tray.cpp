#include "ui/main_window_tray.h"

#include "ui/tray_icon.h"


namespace quenmark {

TMainWindowTray::TMainWindowTray(QObject* owner, std::unique_ptr<TTrayShell> shell, QMenu* menu)
    : QObject(owner), FIcon(std::make_unique<TTrayIcon>(this, std::move(shell))) {
    FIcon->SetRBPopupMenu(menu);
    FIcon->OnDblClick = [this](QObject*) {
        if (FDoubleClickAction) FDoubleClickAction->trigger();
    };
    FIcon->OnMouseMove = [this](QObject*, TShiftState, int x, int y) {
        if (OnPointerMoved) OnPointerMoved(QPoint(x, y));
    };
}

TMainWindowTray::~TMainWindowTray() = default;

void TMainWindowTray::SetTip(const QString& tip) { FIcon->SetTipHelp(tip); }

void TMainWindowTray::Apply(const QIcon& icon, bool visible) {
    FIcon->SetIcon(icon);
    FIcon->SetVisible(visible);
}

void TMainWindowTray::SetEnabled(bool enabled) { FIcon->SetEnabled(enabled); }

bool TMainWindowTray::Enabled() const { return FIcon->Enabled(); }

bool TMainWindowTray::Visible() const { return FIcon->Visible(); }

bool TMainWindowTray::Available() const { return FIcon->Available(); }

}  // namespace quenmark
