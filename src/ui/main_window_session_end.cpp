#include "ui/main_window_session_end.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSessionManager>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>

#include "app/ending_watchdog.h"
#include "app/line_session.h"
#include "base/context.h"
#include "ui/window_helpers.h"

namespace quenmark {

namespace {

constexpr int WatchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

int signalPipe[2] = {-1, -1};
struct sigaction previousActions[std::size(WatchedSignals)];

// Async-signal-safe: one byte naming the signal, errno left as it was.
extern "C" void WriteSignalByte(int signal) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
    errno = savedErrno;
    // Ends the program even when its thread never comes back to read the pipe.
    TEndingWatchdog::Wake(signal);
}

void InstallHandlers() {
    struct sigaction action{};
    action.sa_handler = WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(WatchedSignals); ++i)
        sigaction(WatchedSignals[i], &action, &previousActions[i]);
}

void RestoreHandlers() {
    for (size_t i = 0; i < std::size(WatchedSignals); ++i)
        sigaction(WatchedSignals[i], &previousActions[i], nullptr);
}

}  // namespace

TSessionEndWatcher::TSessionEndWatcher(QObject* parent) : QObject(parent) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    FNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TSessionEndWatcher::ReadSignals);
    InstallHandlers();
#ifndef QT_NO_SESSIONMANAGER
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { CommitDataRequested(); });
    }
#endif
}

TSessionEndWatcher::~TSessionEndWatcher() {
    if (!FNotifier) return;
    RestoreHandlers();
    delete FNotifier;
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TSessionEndWatcher::CommitDataRequested() { emit CommitData(); }

TSaveFailureChoice AskAfterFailedSave(QWidget* parent, const TCCContext& context, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quenmark"), text, QMessageBox::NoButton, parent);
    QPushButton* retry = box.addButton(QString::fromStdString(context.GetText("QEN406")), QMessageBox::AcceptRole);
    box.addButton(QString::fromStdString(context.GetText("QEN407")), QMessageBox::DestructiveRole);
    box.setDefaultButton(retry);
    KeepAboveOwner(box);
    box.exec();
    return box.clickedButton() == retry ? TSaveFailureChoice::Retry : TSaveFailureChoice::QuitWithoutSaving;
}

bool SaveSessionAskingOnFailure(TLineSession& session, const TSaveFailurePrompt& prompt) {
    for (;;) {
        const TSaveOutcome outcome = session.SaveAll();
        if (outcome.Saved) return true;
        const QString text = QString::fromStdString(SaveFailureText(session.Context(), outcome));
        if (prompt(text) != TSaveFailureChoice::Retry) return false;
    }
}

void TSessionEndWatcher::ReadSignals() {
    unsigned char byte = 0;
    while (read(signalPipe[0], &byte, 1) == 1) emit Terminate(byte);
}

}  // namespace quenmark
