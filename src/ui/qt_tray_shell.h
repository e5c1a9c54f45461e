#pragma once

#include "ui/tray_shell.h"

#include <QSystemTrayIcon>

#include <functional>

namespace quenmark {

// The notification area through QSystemTrayIcon; its activations go to the
// handler unchanged.
class TQtTrayShell : public TTrayShell {
public:
    using TActivationHandler = std::function<void(QSystemTrayIcon::ActivationReason reason)>;

    explicit TQtTrayShell(TActivationHandler handler);

    bool Add(const TNotifyIconData& data) override;
    bool Modify(const TNotifyIconData& data) override;
    void Delete(int id) override;
    bool Available() const override;

    QSystemTrayIcon& SystemTrayIcon() { return FTrayIcon; }

private:
    void Apply(const TNotifyIconData& data);

    QSystemTrayIcon FTrayIcon;
};

}  // namespace quenmark
