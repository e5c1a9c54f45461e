#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

#include "app/prepared_save.h"
#include "app/save_schedule.h"
#include "app/settings_save.h"

namespace quenmark {

class TLineSession;
class TSettings;
class TVMVariableList;

// Keeps the window's work on disk while the program runs. Every line goes
// through here: its history entry and the state after it are prepared
// together (so that a signal or crash handler can write them when the line
// thread never comes back), and a line that changed something kept is
// written through the usual locked merge, at most once a second and never
// later than the next line.
class TSessionKeeper : public QObject {
    Q_OBJECT

public:
    TSessionKeeper(TLineSession& session, TSettings& settings, TVMVariableList& variables,
                   QObject* parent = nullptr);
    ~TSessionKeeper() override;

    // Runs one line as the session does, writing a change still waiting
    // first. Returns false when the line failed.
    bool RunLine(const std::string& line);
    // Writes now when a change waits for its write.
    void SaveIfPending();
    // The saves at the end of the run; no write follows from here.
    TSaveOutcome SaveAtEnd();
    // Stops the writes, for a run that ends without saving.
    void Stop();

    // The state after the last completed line, ready to be written.
    TPreparedSave& Prepared() { return *FPrepared; }

signals:
    // A write while running failed; told once for each new reason, and
    // again after a write worked.
    void SaveFailed(const QString& text);

private:
    void Write();

    TLineSession& FSession;
    TSettings& FSettings;
    TVMVariableList& FVariables;
    std::unique_ptr<TPreparedSave> FPrepared;
    TSaveSchedule FSchedule;
    QTimer FTimer;
    std::string FLastFailure;
    bool FStopped = false;
};

}  // namespace quenmark
