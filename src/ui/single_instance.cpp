#include "ui/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

#include <cstring>

namespace quenmark {

namespace {

// A request is one short line; a partner that sends more is not a launch
// of this program.
constexpr qint64 MaxRequestLength = 64;
constexpr int ProbeTimeoutMs = 200;

}  // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), FName(std::move(serverName)) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName(const QString& title, unsigned userId) {
    return title + QLatin1Char('-') + QString::number(userId);
}

QString TSingleInstance::ServerNameForCurrentUser(const QString& title) {
    return ServerName(title, static_cast<unsigned>(geteuid()));
}

bool TSingleInstance::ActivateRunning(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(FName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs)) return false;
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
