#include "ui/single_instance.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/runtime_directory.h"

namespace quenmark {

namespace {

// A request is one short line; a partner that sends more is not a launch
// of this program.
constexpr qint64 MaxRequestLength = 64;
constexpr int ProbeTimeoutMs = 200;
constexpr int LockRetryMs = 100;

// Whether the process at the other end of a connected local socket runs as
// this process's user.
bool PeerIsThisUser(const QLocalSocket& socket) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    const int descriptor = static_cast<int>(socket.socketDescriptor());
    if (descriptor < 0 || getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return false;
    return credentials.uid == geteuid();
}

}  // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), FName(std::move(serverName)) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName(const QString& directory, const QString& title, unsigned userId,
                                   const QString& display) {
    QString safeDisplay = display;
    safeDisplay.replace(QLatin1Char('/'), QLatin1Char('_'));
    return directory + QLatin1Char('/') + title + QLatin1Char('-') + QString::number(userId) + QLatin1Char('-') +
           safeDisplay;
}

QString TSingleInstance::ServerNameForCurrentUser(const QString& title) {
    const std::string directory = UserRuntimeDirectory();
    if (directory.empty()) return {};
    return ServerName(QString::fromStdString(directory), title, static_cast<unsigned>(geteuid()), DisplayName());
}

QString TSingleInstance::DisplayName() {
    const char* x11 = std::getenv("DISPLAY");
    if (x11 && *x11) {
        QString display = QString::fromLocal8Bit(x11);
        const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
        const qsizetype screen = display.indexOf(QLatin1Char('.'), colon < 0 ? 0 : colon);
        if (colon >= 0 && screen > colon) display.truncate(screen);
        return display;
    }
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland) return QString::fromLocal8Bit(wayland);
    return QStringLiteral("none");
}

TSingleInstance::TLaunch TSingleInstance::ClaimOrActivate(int waitMs) {
    if (FName.isEmpty()) return TLaunch::First;  // no private directory: nothing to share
    if (ActivateRunning()) return TLaunch::Activated;
    auto lock = std::make_unique<QLockFile>(FName + QStringLiteral(".lock"));
    // Held for the whole run: only a lock whose process has ended is stale.
    lock->setStaleLockTime(0);
    QElapsedTimer clock;
    clock.start();
    while (!lock->tryLock(LockRetryMs)) {
        // Another launch holds the lock: it is starting, or running.
        if (ActivateRunning(ProbeTimeoutMs)) return TLaunch::Activated;
        if (clock.elapsed() > waitMs) return TLaunch::First;
    }
    FLaunchLock = std::move(lock);
    return TLaunch::First;
}

bool TSingleInstance::ActivateRunning(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(FName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs)) return false;
    if (!PeerIsThisUser(socket)) return false;
    const qint64 length = static_cast<qint64>(std::strlen(ActivationRequest));
    if (socket.write(ActivationRequest, length) != length) return false;
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::AnotherCopyAnswers() const {
    QLocalSocket probe;
    probe.connectToServer(FName, QIODevice::WriteOnly);
    const bool answers = probe.waitForConnected(ProbeTimeoutMs);
    probe.abort();
    return answers;
}

// The server replaces a socket file of the same name, so a copy that
// answers is looked for first; a socket file nobody answers on is one left
// by an ended copy.
bool TSingleInstance::Listen() {
    if (IsListening()) return true;
    if (FName.isEmpty()) return false;
    if (AnotherCopyAnswers()) return false;
    QLocalServer::removeServer(FName);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(FName)) {
        delete server;
        return false;
    }
    FServer = server;
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnections);
    return true;
}

bool TSingleInstance::IsListening() const { return FServer && FServer->isListening(); }

void TSingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        if (!PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() { ReadRequest(socket); });
        // A launch that has already gone may leave its request unread until now.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket]() {
            ReadRequest(socket);
            socket->deleteLater();
        });
        // The request may have arrived with the connection.
        if (socket->bytesAvailable() > 0) ReadRequest(socket);
    }
}

void TSingleInstance::ReadRequest(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxRequestLength) socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(MaxRequestLength);
    if (line == ActivationRequest) emit ActivationRequested();
}

}  // namespace quenmark
