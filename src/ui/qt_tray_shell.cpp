#include "ui/qt_tray_shell.h"

#include <utility>

namespace quenmark {

TQtTrayShell::TQtTrayShell(TMessageSink sink) : FSink(std::move(sink)) {
    QObject::connect(&FTrayIcon, &QSystemTrayIcon::activated, &FTrayIcon,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         // The sink may destroy this shell with its icon.
                         const TMessageSink sink = FSink;
                         const int id = FID;
                         for (TTrayMessage message : MessagesFor(reason)) sink(id, message);
                     });
}

std::vector<TTrayMessage> TQtTrayShell::MessagesFor(QSystemTrayIcon::ActivationReason reason) {
    using M = TTrayMessage;
    switch (reason) {
    // Qt reports the press of a single click, and the second press of a
    // double click instead of a second single click.
    case QSystemTrayIcon::Trigger: return {M::MouseMove, M::LButtonDown, M::LButtonUp};
    case QSystemTrayIcon::DoubleClick: return {M::LButtonDblClk, M::LButtonUp};
    case QSystemTrayIcon::Context: return {M::MouseMove, M::RButtonDown, M::RButtonUp};
    case QSystemTrayIcon::MiddleClick: return {M::MouseMove, M::MButtonDown, M::MButtonUp};
    case QSystemTrayIcon::Unknown: break;
    }
    return {};
}

void TQtTrayShell::Apply(const TNotifyIconData& data) {
    FID = data.ID;
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
