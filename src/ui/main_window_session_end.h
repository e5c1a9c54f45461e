#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;
class QWidget;

namespace quenmark {

class TCCContext;
class TLineSession;

// What the user chose after a save failed.
enum class TSaveFailureChoice { Retry, QuitWithoutSaving };
using TSaveFailurePrompt = std::function<TSaveFailureChoice(const QString& text)>;

// A message box with the failure's text (the file and the reason) and the
// buttons Retry and Quit without saving, in the context's messages.
TSaveFailureChoice AskAfterFailedSave(QWidget* parent, const TCCContext& context, const QString& text);

// Saves the session; while the save fails, the program keeps running and
// asks through prompt whether to try again. Returns whether it was saved.
bool SaveSessionAskingOnFailure(TLineSession& session, const TSaveFailurePrompt& prompt);

// Tells the main window that the user's session ends: the session manager
// asks the application to commit its data, or the process receives SIGTERM,
// SIGHUP or SIGINT (which also wake the ending watchdog, if one runs). The signals reach the user-interface thread through a pipe,
// since a signal handler may do nothing but write to it. Only one watcher
// may live at a time; it restores the previous signal handling when it ends.
class TSessionEndWatcher : public QObject {
    Q_OBJECT

public:
    explicit TSessionEndWatcher(QObject* parent = nullptr);
    ~TSessionEndWatcher() override;

    // What the session manager's commit request runs (connected to the
    // application's commitDataRequest when there is a GUI application).
    void CommitDataRequested();

signals:
    // The session ends but the process may live on: save now.
    void CommitData();
    // A terminating signal arrived: save and end with 128 + the signal.
    void Terminate(int signal);

private:
    void ReadSignals();

    QSocketNotifier* FNotifier = nullptr;
};

}  // namespace quenmark
