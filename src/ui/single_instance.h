#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace quenmark {

// One running copy per user and title. The running copy listens on a local
// socket named from both; a second launch connects, asks it to show its
// main window, and ends without loading or writing anything.
class TSingleInstance : public QObject {
    Q_OBJECT

public:
    // The request a second launch sends, one line.
    static constexpr const char* ActivationRequest = "ACTIVATE\n";

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The socket name of a title for a user: "Quenmark 1.1-1000".
    static QString ServerName(const QString& title, unsigned userId);
    // The name for the effective user of this process.
    static QString ServerNameForCurrentUser(const QString& title);

    const QString& Name() const { return FName; }

    // The second launch's side: true when a running copy took the request
    // within the time.
    bool ActivateRunning(int timeoutMs = 1000);

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
    void ReadRequest(QLocalSocket* socket);
    bool AnotherCopyAnswers() const;

    QString FName;
    QLocalServer* FServer = nullptr;
};

}  // namespace quenmark
