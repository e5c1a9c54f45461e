#include "ui/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/runtime_directory.h"

namespace quenmark {

namespace {

// A request is one short line; a partner that sends more is not a launch
// of this program.
constexpr size_t MaxRequestLength = 64;
constexpr int ActivateTimeoutMs = 1000;
constexpr int ProbeTimeoutMs = 200;
constexpr int LockRetryMs = 100;

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

std::string TSingleInstance::SocketPath() const {
    const QString path = QDir::isAbsolutePath(FName) ? FName : QDir::tempPath() + QLatin1Char('/') + FName;
    return QFile::encodeName(path).toStdString();
}

bool TSingleInstance::ActivateRunning(int timeoutMs) {
    if (FName.isEmpty()) return false;
    return SendToLocalListener(SocketPath(), ActivationRequest, timeoutMs);
}

// Binding replaces a socket file of the same name, so a copy that answers
// is looked for first; a socket file nobody answers on is one left by an
// ended copy.
bool TSingleInstance::Listen() {
    if (IsListening()) return true;
    if (FName.isEmpty()) return false;
    const std::string path = SocketPath();
    if (LocalListenerAnswers(path, ProbeTimeoutMs)) return false;
    auto listener = std::make_unique<TLocalListener>();
    if (!listener->Listen(path)) return false;
    FListener = std::move(listener);
    FAcceptNotifier = new QSocketNotifier(FListener->Descriptor(), QSocketNotifier::Read, this);
    connect(FAcceptNotifier, &QSocketNotifier::activated, this, &TSingleInstance::AcceptConnections);
    return true;
}

bool TSingleInstance::IsListening() const { return FListener && FListener->IsListening(); }

void TSingleInstance::AcceptConnections() {
    for (int connection; (connection = FListener->AcceptFromThisUser()) >= 0;) {
        auto* notifier = new QSocketNotifier(connection, QSocketNotifier::Read, this);
        auto received = std::make_shared<std::string>();
        connect(notifier, &QSocketNotifier::activated, this,
                [this, connection, notifier, received]() { ReadRequest(connection, notifier, *received); });
        // The request may have arrived with the connection.
        ReadRequest(connection, notifier, *received);
    }
}

// Takes what the partner sent without waiting; the connection ends at the
// end of its line, when it closes, or when it sends more than a request.
void TSingleInstance::ReadRequest(int connection, QSocketNotifier* notifier, std::string& received) {
    if (!notifier->isEnabled()) return;
    while (received.size() <= MaxRequestLength && received.find('\n') == std::string::npos) {
        char buffer[MaxRequestLength + 1];
        const ssize_t count = recv(connection, buffer, sizeof buffer, 0);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (count <= 0) break;  // closed by the partner
        received.append(buffer, static_cast<size_t>(count));
    }
    const size_t lineEnd = received.find('\n');
    if (lineEnd != std::string::npos && received.substr(0, lineEnd + 1) == ActivationRequest)
        emit ActivationRequested();
    notifier->setEnabled(false);
    notifier->deleteLater();
    close(connection);
}

}  // namespace quenmark
