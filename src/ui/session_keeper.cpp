#include "ui/session_keeper.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/line_session.h"
#include "app/settings.h"
#include "vm/variable_list.h"

namespace quenmark {

namespace {

// The keeper of the run, for a process that ends through exit() from deep
// inside the toolkit (a lost display connection): its pending change is
// written on the way out.
TSessionKeeper* exitingKeeper = nullptr;
std::thread::id keeperThread;

void SavePendingAtExit() {
    if (exitingKeeper && std::this_thread::get_id() == keeperThread) exitingKeeper->SaveIfPending();
}

}  // namespace

TSessionKeeper::TSessionKeeper(TLineSession& session, TSettings& settings, TVMVariableList& variables,
                               QObject* parent)
    : QObject(parent), FSession(session), FSettings(settings), FVariables(variables),
      FPrepared(std::make_unique<TPreparedSave>(settings, variables, session.InputHistory())) {
    session.KeepFunctionsIn(*FPrepared);
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &TSessionKeeper::Write);
    static const bool registered = std::atexit(SavePendingAtExit) == 0;
    if (registered) {
        exitingKeeper = this;
        keeperThread = std::this_thread::get_id();
    }
}

TSessionKeeper::~TSessionKeeper() {
    if (exitingKeeper == this) exitingKeeper = nullptr;
}

bool TSessionKeeper::RunLine(const std::string& line) {
    SaveIfPending();
    const TKeptStateMark before = MarkKeptState(FSettings, FVariables, FSession.InputHistory());
    FSession.LineInterrupt().Clear();
    const bool succeeded = FSession.InterpretLine(line);
    if (!FPrepared->BeginChange()) WaitForTheEnd();
    FSession.RecordHistory(line);
    FPrepared->RefreshInChange();
    FPrepared->EndChange();
    if (FStopped || MarkKeptState(FSettings, FVariables, FSession.InputHistory()) == before) return succeeded;
    const auto delay = FSchedule.Changed(TSaveSchedule::Clock::now());
    if (delay.count() == 0) Write();
    else if (!FTimer.isActive()) FTimer.start(delay);
    return succeeded;
}

void TSessionKeeper::SaveIfPending() {
    if (FSchedule.Pending()) Write();
}

void TSessionKeeper::Write() {
    FTimer.stop();
    if (FStopped) return;
    const TSaveOutcome outcome = FSession.SaveAll();
    FSchedule.Written(TSaveSchedule::Clock::now());
    if (outcome.Saved) {
        FLastFailure.clear();
        return;
    }
    const std::string text = SaveFailureText(FSession.Context(), outcome);
    if (text == FLastFailure) return;
    FLastFailure = text;
    emit SaveFailed(QString::fromStdString(text));
}

TSaveOutcome TSessionKeeper::SaveAtEnd() {
    Stop();
    return FSession.SaveAll();
}

void TSessionKeeper::Stop() {
    FStopped = true;
    FTimer.stop();
}

}  // namespace quenmark
