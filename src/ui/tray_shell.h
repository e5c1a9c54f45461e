#pragma once

#include <QIcon>
#include <QString>

namespace quenmark {

// Which parts of a notification-area entry the record carries.
enum TNotifyIconFlag : unsigned { NIF_MESSAGE = 1u, NIF_ICON = 2u, NIF_TIP = 4u };

// The record a tray icon hands to the notification area.
struct TNotifyIconData {
    int ID = 0;
    unsigned Flags = 0;
    QIcon Icon;
    QString Tip;
};

// The desktop's notification area for one entry: add, modify and delete it.
// Add and Modify report whether the desktop accepted the entry. The user's
// clicks on the entry reach the tray icon as QSystemTrayIcon activations.
class TTrayShell {
public:
    virtual ~TTrayShell() = default;

    virtual bool Add(const TNotifyIconData& data) = 0;
    virtual bool Modify(const TNotifyIconData& data) = 0;
    virtual void Delete(int id) = 0;
    // False where the desktop has no notification area at all.
    virtual bool Available() const = 0;
};

}  // namespace quenmark
