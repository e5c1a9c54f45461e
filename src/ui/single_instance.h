#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <string>

#include "platform/local_endpoint.h"

class QLockFile;
class QSocketNotifier;

namespace quenmark {

// One running copy per user, title and display. The running copy listens on
// a local socket in the user's private runtime directory, named from all
// three (a name without a directory lies in the temporary folder); a second launch connects, asks it to show its main window, and
// ends without loading or writing anything. Both sides check that the
// other end belongs to the same user.
class TSingleInstance : public QObject {
    Q_OBJECT

public:
    // The request a second launch sends, one line.
    static constexpr const char* ActivationRequest = "ACTIVATE\n";

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    enum class TLaunch { First, Activated };

    // The socket path of a title for a user on a display:
    // "DIRECTORY/Quenmark 1.1-1000-:0".
    static QString ServerName(const QString& directory, const QString& title, unsigned userId,
                              const QString& display);
    // The name for the effective user of this process on its display, in
    // the user's runtime directory; empty when no private directory exists.
    static QString ServerNameForCurrentUser(const QString& title);
    // The display this process shows its windows on, without a screen
    // number: ":0" from DISPLAY=":0.1", else WAYLAND_DISPLAY, else "none".
    static QString DisplayName();

    const QString& Name() const { return FName; }

    // The second launch's side: true when a running copy took the request
    // within the time.
    bool ActivateRunning(int timeoutMs = 1000);

    // Before anything is loaded: activates a running copy, or takes the
    // launch lock beside the socket so that of two launches at the same
    // moment only one starts; the other waits for it to listen and
    // activates it. A lock held past the wait does not lock the user out:
    // the launch then starts as the first.
    TLaunch ClaimOrActivate(int waitMs = 10000);

    // The running copy's side: starts listening. False when another copy
    // already listens under the name (it is left alone) or the name cannot
    // be used; a socket left behind by an ended copy is replaced.
    bool Listen();
    bool IsListening() const;

signals:
    // A second launch asked this copy to show itself.
    void ActivationRequested();

private:
    void AcceptConnections();
    void ReadRequest(int connection, QSocketNotifier* notifier, std::string& received);
    std::string SocketPath() const;

    QString FName;
    std::unique_ptr<TLocalListener> FListener;
    QSocketNotifier* FAcceptNotifier = nullptr;
    std::unique_ptr<QLockFile> FLaunchLock;
};

}  // namespace quenmark
