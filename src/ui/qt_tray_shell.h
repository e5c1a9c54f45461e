#pragma once

#include "ui/tray_shell.h"

#include <QSystemTrayIcon>

#include <functional>
#include <vector>

namespace quenmark {

// The notification area through QSystemTrayIcon. Qt reports activations,
// not raw mouse messages; each activation is turned into the messages the
// same user action produces on a desktop that reports them, so that the tray
// icon's click rules apply unchanged.
class TQtTrayShell : public TTrayShell {
public:
    using TMessageSink = std::function<void(int id, TTrayMessage message)>;

    explicit TQtTrayShell(TMessageSink sink);

    bool Add(const TNotifyIconData& data) override;
    bool Modify(const TNotifyIconData& data) override;
    void Delete(int id) override;
    bool Available() const override;

    // The messages one activation stands for.
    static std::vector<TTrayMessage> MessagesFor(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon& SystemTrayIcon() { return FTrayIcon; }

private:
    void Apply(const TNotifyIconData& data);

    QSystemTrayIcon FTrayIcon;
    TMessageSink FSink;
    int FID = 0;
};

}  // namespace quenmark
