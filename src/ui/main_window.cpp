#include "ui/main_window.h"

#include "app/rescued_settings.h"
#include "app/line_session.h"
#include "app/settings.h"
#include "base/text_lookup.h"
#include "expression/interpreter.h"
#include "ui/help_window.h"
#include "ui/main_window_completion.h"
#include "ui/main_window_log.h"
#include "ui/main_window_session_end.h"
#include "ui/main_window_tray.h"
#include "ui/session_keeper.h"
#include "ui/quen_button.h"
#include "ui/screen_keeper.h"
#include "ui/splash_window.h"
#include "ui/unit_window.h"
#include "ui/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <iostream>
#include <limits>

namespace quenmark {

namespace {

// The form as designed, before the settings are applied.
constexpr QSize MinimumWindowSize(140, 90);
constexpr QSize DesignedClientSize(192, 105);
constexpr int InputMaxLength = 1000;
constexpr int ButtonRoundSize = 2;

// The captions are small enough for "UNITCONV" to fit its 59 pixels.
TQuenButton* NewTitleButton(QWidget* parent, const QRect& geometry, int pointSize = 7) {
    auto* button = new TQuenButton(parent);
    button->setGeometry(geometry);
    button->SetRoundSize(ButtonRoundSize);
    button->SetBlink(false);
    button->SetFont(QFont(QStringLiteral("Arial"), pointSize));
    // The frame's sizing zones apply where the form itself is under the
    // pointer, not over its buttons.
    button->setCursor(Qt::ArrowCursor);
    return button;
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TfrmCalQuen::TfrmCalQuen(TMainWindowContext context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      FSettings(*context.Settings),
      FInterpreter(*context.Interpreter),
      FLanguages(*context.Languages),
      FModules(*context.Modules),
      FOnCaptionSet(std::move(context.OnCaptionSet)),
      FAskQuestion(std::move(context.AskQuestion)),
      FSession(std::make_unique<TLineSession>(FInterpreter, FSettings)),
      FSplashWindow(context.SplashWindow) {
    setObjectName(QStringLiteral("frmCalQuen"));
    setMinimumSize(MinimumWindowSize);
    resize(DesignedClientSize);
    setMouseTracking(true);
    CreateControls();
    CreateActions();
    CreateMenus();
    FTray = new TMainWindowTray(this, std::move(context.TrayShell), mnuControl);
    FTray->OnPointerMoved = [this](QPoint position) { FAnimationOrigin = position; };
    ConnectSession();
    FCompletion = new TInputCompletion(*edtLine, *FSession, FInterpreter, FModules, FSettings);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { ApplicationStateChanged(state == Qt::ApplicationActive); });
    FormCreate();
}

TfrmCalQuen::~TfrmCalQuen() { FormDestroy(); }

void TfrmCalQuen::CreateControls() {
    btnControl = NewTitleButton(this, QRect(2, 2, 14, 14), 8);
    btnUnit = NewTitleButton(this, QRect(85, 2, 59, 14));
    btnUnit->OnClick = [this](QObject*) { actUnit->trigger(); };
    btnDec = NewTitleButton(this, QRect(145, 2, 30, 14));
    btnDec->SetText(QStringLiteral("DEC"));
    btnHide = NewTitleButton(this, QRect(176, 2, 14, 14));
    btnHide->SetButtonStyle(qbClose);
    btnHide->OnClick = [this](QObject*) { actHide->trigger(); };

    memLog = new TMainLog(this);
    memLog->setGeometry(6, 22, 181, 51);
    lblLT = new QLabel(QStringLiteral(">"), this);
    lblLT->setGeometry(6, 81, 8, 18);
    lblLT->setAttribute(Qt::WA_TransparentForMouseEvents);
    edtLine = new QLineEdit(this);
    edtLine->setGeometry(16, 81, 167, 17);
    edtLine->setFrame(false);
    edtLine->setMaxLength(InputMaxLength);

    // The form sees every key before the focused control.
    for (QWidget* control : {static_cast<QWidget*>(edtLine), static_cast<QWidget*>(memLog),
                             static_cast<QWidget*>(btnControl), static_cast<QWidget*>(btnUnit),
                             static_cast<QWidget*>(btnDec), static_cast<QWidget*>(btnHide)})
        control->installEventFilter(this);
    setTabOrder(edtLine, memLog);
    setTabOrder(memLog, btnControl);
    setTabOrder(btnControl, btnUnit);
    setTabOrder(btnUnit, btnDec);
    setTabOrder(btnDec, btnHide);
}

void TfrmCalQuen::ConnectSession() {
    // Echoed lines and results stay one line each; the rest are messages.
    FSession->OnLogLine = [this](const std::string& line) {
        const bool result = line.starts_with("> ") ||
                            (FInterpreter.LastWasExpression() && line == FInterpreter.LastResultLine());
        memLog->AddLine(QString::fromUtf8(line), MaxLogLines(), result ? TLogLine::Result : TLogLine::Message);
    };
    FSession->OnOutputModeSelected = [this](OutputMode mode) {
        const auto index = static_cast<size_t>(mode);
        if (index < FRadixActions.size()) SelectOutputMode(FRadixActions[index]);
    };
    FSession->OnExpressionResult = [this](const Variant& result) {
        if (FSettings.AutoUnit) TransferToUnitWindow(result, true);
    };
}

void TfrmCalQuen::FormCreate() {
    setWindowTitle(QString::fromUtf8(ProductTitle));
    FTray->SetTip(QString::fromUtf8(ProductName) + QLatin1Char(' ') + QString::fromUtf8(ProductVersion));
    if (FOnCaptionSet) FOnCaptionSet();
    FSession->LoadHistory();
    ApplyPosition();
    // The title row: the buttons' 2 + 14 + 2 rows. The settings take the
    // place the window went to, so that applying them again keeps it there.
    auto* screens = new TScreenKeeper(this, 18);
    screens->OnPlaced = [this](const QRect& placed) { SetPlacementGeometry(FSettings.MainPlacement, placed); };
    screens->KeepOnScreen();
    SetPlacementGeometry(FSettings.MainPlacement, geometry());
    ApplyLayout();
    ApplyColors();
    ApplyCaptions();
    HandHelpFile();
    FSession->RestoreOutputFormat();
    memLog->SetLines(QString::fromUtf8(TLineSession::Banner()));
    for (const std::string& line : FSession->WelcomeLines())
        memLog->AddLine(QString::fromUtf8(line), std::numeric_limits<int>::max(), TLogLine::Message);
    FSession->ForgetLoadedFile();
    FKeeper = new TSessionKeeper(*FSession, FSettings, FInterpreter.Variables(), this);
    connect(FKeeper, &TSessionKeeper::SaveFailed, this, &TfrmCalQuen::AddLogLine);
    FAnimationOrigin = QPoint(x() + width() / 2, y() + height() / 2);
    ShowInitialState();
    ReleaseSplash();
}

// The first showing or hiding runs without the window effect. A hidden
// start without a notification area to hide into shows the window, so that
// the running copy can always be reached.
void TfrmCalQuen::ShowInitialState() {
    const bool windowAnime = FSettings.WindowAnime;
    FSettings.WindowAnime = false;
    if (FSettings.MainPlacement.Show || !CanHideToTray()) actShow->trigger();
    else actHide->trigger();
    FSettings.WindowAnime = windowAnime;
}

void TfrmCalQuen::ReleaseSplash() {
    try {
        if (FSplashWindow) FSplashWindow->MainWindowReady();
    } catch (...) {
        // The splash window only decorates the start.
    }
}

// The unit window goes first, as the application's other windows do, so
// that its state is in the settings before they are saved.
void TfrmCalQuen::FormDestroy() {
    FClosing = true;
    delete FUnitWindow;
    delete FHelpWindow;
    FKeeper->Stop();
    if (!FRunEnded)
        SaveSessionAskingOnFailure(*FSession, [this](const QString& text) {
            return AskAfterFailedSave(nullptr, FInterpreter.Context(), text);
        });
}

void TfrmCalQuen::ExecuteLine(const std::string& line) { FKeeper->RunLine(line); }

int TfrmCalQuen::MaxLogLines() const { return FSettings.MaxLogLine; }

void TfrmCalQuen::AddLogLine(const QString& text) { memLog->AddLine(text, MaxLogLines(), TLogLine::Message); }

void TfrmCalQuen::SelectOutputMode(QAction* action) {
    btnDec->SetText(action->text());
    for (QAction* radix : FRadixActions) radix->setChecked(false);
    action->setChecked(true);
    const bool decimal = action->objectName() == QStringLiteral("actDec");
    for (QAction* format : {actDecNormal, actDecSeparator, actDecExponent}) format->setEnabled(decimal);
}

void TfrmCalQuen::WatchSessionEnd(TSessionEndWatcher& watcher) {
    connect(&watcher, &TSessionEndWatcher::CommitData, this, &TfrmCalQuen::CommitSessionData);
    connect(&watcher, &TSessionEndWatcher::Terminate, this, &TfrmCalQuen::TerminateSession);
}

void TfrmCalQuen::CommitSessionData() {
    if (!FRunEnded)
        SaveSessionAskingOnFailure(*FSession, [this](const QString& text) {
            return AskAfterFailedSave(this, FInterpreter.Context(), text);
        });
}

// The saves run here and not again when the window goes. No window may
// ask anything now: when the file cannot be written, the state goes to a
// rescue file named on standard error.
void TfrmCalQuen::TerminateSession(int signal) {
    if (FRunEnded) return;
    const TSaveOutcome outcome = FKeeper->SaveAtEnd();
    if (!outcome.Saved) {
        std::cerr << "quenmark: " << SaveFailureText(FInterpreter.Context(), outcome) << std::endl;
        FKeeper->Prepared().Refresh();
        RescueAfterFailedSave(FInterpreter.Context(), FKeeper->Prepared().Contents(), "quenmark");
    }
    FRunEnded = true;
    FClosing = true;
    emit RunEnded(128 + signal);
}

// --- Keys -------------------------------------------------------------------

// A control's keyboard context menu (the Menu key) gives way to the control
// menu; the input line keeps its edit menu on a right click. A key of the
// window's actions goes to the action even where a control would take it.
bool TfrmCalQuen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (PreviewKey(watched, static_cast<QKeyEvent*>(event))) return true;
    } else if (event->type() == QEvent::ShortcutOverride) {
        if (IsWindowActionKey(*this, *static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu) {
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            OpenControlMenuAtWindow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCalQuen::keyPressEvent(QKeyEvent* event) {
    if (!PreviewKey(this, event)) QWidget::keyPressEvent(event);
}

void TfrmCalQuen::keyReleaseEvent(QKeyEvent* event) {
    if (!PreviewKey(this, event)) QWidget::keyReleaseEvent(event);
}

// The input line's name list and result recall see the keys first (see
// TInputCompletion). Enter runs the line when the input line has the focus
// and otherwise brings the focus there; neither Enter nor Escape reaches a
// control. Escape hides on its release, and only when its press was this
// window's own (not the one that closed a menu or the name list).
bool TfrmCalQuen::PreviewKey(QObject* watched, QKeyEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (press && FCompletion->KeyPress(event)) return true;
    if (IsContextMenuKey(*event)) {
        if (press) OpenControlMenuAtWindow();
        return true;
    }
    if (IsEnterKey(event->key())) {
        if (press) {
            if (edtLine->hasFocus()) actCalc->trigger();
            else FocusInput();
        }
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        if (press) FEscapeDown = true;
        else if (FEscapeDown && !event->isAutoRepeat()) {
            FEscapeDown = false;
            actHide->trigger();
        }
        return true;
    }
    if (press && watched == edtLine) return edtLineKeyDown(event);
    return false;
}

// Page Up and Down scroll the log; Up and Down recall the history with the
// caret at the end of the recalled line.
bool TfrmCalQuen::edtLineKeyDown(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: memLog->ScrollPage(event->key() == Qt::Key_PageDown); return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (FSession->History().empty()) return false;
        const std::string current = edtLine->text().toUtf8().toStdString();
        const std::string entry =
            event->key() == Qt::Key_Up ? FSession->HistoryUp(current) : FSession->HistoryDown(current);
        edtLine->setText(QString::fromUtf8(entry));
        edtLine->end(false);
        return true;
    }
    default: return false;
    }
}

void TfrmCalQuen::FocusInput() {
    if (edtLine->isEnabled()) edtLine->setFocus(Qt::OtherFocusReason);
}

}  // namespace quenmark
