#include "ui/qt_tray_shell.h"

#include <utility>

namespace quenmark {

// The handler is stored in the connection, so it outlives a shell that it
// destroys together with its icon.
TQtTrayShell::TQtTrayShell(TActivationHandler handler) {
    QObject::connect(&FTrayIcon, &QSystemTrayIcon::activated, &FTrayIcon, std::move(handler));
}

void TQtTrayShell::Apply(const TNotifyIconData& data) {
    FTrayIcon.setIcon((data.Flags & NIF_ICON) ? data.Icon : QIcon());
    FTrayIcon.setToolTip((data.Flags & NIF_TIP) ? data.Tip : QString());
}

// Qt keeps a shown entry and puts it into a notification area that appears
// later, so an entry is accepted even while none exists.
bool TQtTrayShell::Add(const TNotifyIconData& data) {
    Apply(data);
    FTrayIcon.show();
    return true;
}

bool TQtTrayShell::Modify(const TNotifyIconData& data) {
    Apply(data);
    return true;
}

void TQtTrayShell::Delete(int) { FTrayIcon.hide(); }

bool TQtTrayShell::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace quenmark
