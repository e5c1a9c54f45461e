#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/color.h"
#include "base/program_version.h"
#include "ui/main_window_frame_rules.h"
#include "ui/tray_shell.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QKeyEvent;
class QPainter;

namespace quenmark {

class TCCInterpreter;
class TCCLanguageList;
class TfrmCalOption;
class TfrmCalSplash;
class TfrmCalUnit;
class TInputCompletion;
class THelpWindow;
class TLineSession;
class TMainLog;
class TMainWindowTray;
class TQuenButton;
class TSessionEndWatcher;
class TSessionKeeper;
class TSettings;
class TVMModuleList;
class Variant;

// The program's product name, version and the title by which a second
// launch finds the running copy.
inline constexpr const char* ProductName = ProductNameText;
inline constexpr const char* ProductVersion = ProductVersionText;
inline constexpr const char* ProductTitle = ProductTitleText;

// What the main window works with. The objects are the run's process-wide
// ones in the program and fresh ones in tests; none is owned by the window.
struct TMainWindowContext {
    TSettings* Settings = nullptr;
    TCCInterpreter* Interpreter = nullptr;
    TCCLanguageList* Languages = nullptr;
    TVMModuleList* Modules = nullptr;
    // Called once the window has its caption (the single-instance rule
    // starts listening then).
    std::function<void()> OnCaptionSet;
    // The splash window to release when the window is ready; may be none.
    QPointer<TfrmCalSplash> SplashWindow;
    // The notification area; none means the desktop's.
    std::unique_ptr<TTrayShell> TrayShell;
    // Asks a yes-or-no question; none means a message box.
    std::function<bool(const QString& question)> AskQuestion;
};

// The calculator's main window: a small borderless window with a title row
// of buttons, a read-only log and the input line behind ">". Lines go to
// the line session; the window adds its controls, menus, tray entry, frame
// and placement. Its destruction is the normal end of a run and saves the
// settings, the variables and the history.
class TfrmCalQuen : public QWidget {
    Q_OBJECT

public:
    explicit TfrmCalQuen(TMainWindowContext context, QWidget* parent = nullptr);
    ~TfrmCalQuen() override;

    // Runs one line through the session: echo, result, history, settings.
    void ExecuteLine(const std::string& line);
    // Appends a line to the log, keeping at most MaxLogLine lines.
    void AddLogLine(const QString& text);
    // Shows the radix of a radix action on btnDec and checks it; the format
    // actions are enabled only for actDec.
    void SelectOutputMode(QAction* action);

    void ApplyPosition();
    void ApplyLayout();
    void ApplyColors();
    void ApplyCaptions();
    // Opens the options dialog at a page (0 first, 3 about) and applies the
    // settings when it is confirmed.
    void ShowOptionDialog(int page);

    // A second launch asked this copy to show itself and come to the front.
    void ActivateFromSecondLaunch();
    // Saves on the session end events of the watcher.
    void WatchSessionEnd(TSessionEndWatcher& watcher);
    // The session ends: the three saves, the process may live on.
    void CommitSessionData();
    // A terminating signal: the three saves once, then RunEnded(128 + signal).
    void TerminateSession(int signal);

    const TLineSession& Session() const { return *FSession; }
    // What keeps the work on disk while the window runs.
    TSessionKeeper& Keeper() { return *FKeeper; }
    QPoint AnimationOrigin() const { return FAnimationOrigin; }
    TfrmCalUnit* UnitWindow() const;
    THelpWindow* HelpWindow() const;
    TMainWindowTray& Tray() { return *FTray; }
    // The action the first item of the control menu is bound to.
    QAction* HideItemAction() const;
    // Whether a hidden window can go into a notification area.
    bool CanHideToTray() const;

    // The controls, actions and menus, named as on the form.
    TQuenButton* btnControl = nullptr;
    TQuenButton* btnUnit = nullptr;
    TQuenButton* btnDec = nullptr;
    TQuenButton* btnHide = nullptr;
    TMainLog* memLog = nullptr;
    QLabel* lblLT = nullptr;
    QLineEdit* edtLine = nullptr;
    QMenu* mnuControl = nullptr;
    QMenu* mnuDec = nullptr;
    QMenu* mniHelp = nullptr;
    QAction* actCalc = nullptr;
    QAction* actDec = nullptr;
    QAction* actHex = nullptr;
    QAction* actOct = nullptr;
    QAction* actBin = nullptr;
    QAction* actDecNormal = nullptr;
    QAction* actDecSeparator = nullptr;
    QAction* actDecExponent = nullptr;
    QAction* actHide = nullptr;
    QAction* actShow = nullptr;
    QAction* actVar = nullptr;
    QAction* actUnit = nullptr;
    QAction* actOption = nullptr;
    QAction* actAbout = nullptr;
    QAction* actHelpContents = nullptr;
    QAction* actHelpLine = nullptr;
    QAction* actExit = nullptr;
    QAction* actCopyResult = nullptr;

    // The name offers and the result recall of the input line.
    TInputCompletion& Completion() const { return *FCompletion; }

    // The log's limit of lines from the settings.
    int MaxLogLines() const;

signals:
    // The run is over: the program ends with this status.
    void RunEnded(int exitCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Creation (main_window.cpp).
    void CreateControls();
    void ConnectSession();
    void FormCreate();
    void FormDestroy();
    void ShowInitialState();
    void ReleaseSplash();

    // Keys (main_window.cpp).
    bool PreviewKey(QObject* watched, QKeyEvent* event);
    bool edtLineKeyDown(QKeyEvent* event);
    void FocusInput();

    // Actions and menus (main_window_actions.cpp).
    // The text of a message code in the interpreter's context.
    QString Caption(const char* code) const;
    void CreateActions();
    void CreateMenus();
    QAction* NewAction(const char* name, std::function<void()> run);
    void AssignKeys();
    void OpenControlMenuAtWindow();
    void actCalcExecute();
    void actShowExecute();
    void actHideExecute();
    void actExitExecute();
    void actUnitExecute();
    void actHelpContentsExecute();
    void actHelpLineExecute();
    void actCopyResultExecute();
    void BindHideItem(QAction* action);
    void TransferToUnitWindow(const Variant& result, bool absolute);
    THelpWindow& EnsureHelpWindow();
    void HandHelpFile();
    bool Ask(const QString& question);

    // Frame, placement and appearance (main_window_frame.cpp).
    void LayoutControls();
    void ShowWindowNormally();
    void MoveWindowTo(QPoint proposed);
    TPositionLimits PositionLimits() const;
    void CopyPlacement();
    void SetFontColor(TColor color);
    void ApplicationStateChanged(bool active);
    void PaintTitleText(QPainter& painter);
    void StartFrameDrag(QMouseEvent* event, THitTest zone);

    TSettings& FSettings;
    TCCInterpreter& FInterpreter;
    TCCLanguageList& FLanguages;
    TVMModuleList& FModules;
    std::function<void()> FOnCaptionSet;
    std::function<bool(const QString&)> FAskQuestion;
    std::unique_ptr<TLineSession> FSession;
    TSessionKeeper* FKeeper = nullptr;
    TMainWindowTray* FTray = nullptr;
    TInputCompletion* FCompletion = nullptr;
    QPointer<TfrmCalSplash> FSplashWindow;
    QPointer<TfrmCalUnit> FUnitWindow;
    QPointer<THelpWindow> FHelpWindow;
    std::array<QAction*, 4> FRadixActions{};
    QPoint FAnimationOrigin;
    QString FHelpFile;
    bool FEscapeDown = false;
    bool FRunEnded = false;
    // Set once the window is closing: it goes without the window effect.
    bool FClosing = false;

    // A move or resize by the window's own frame in progress.
    struct TFrameDrag {
        THitTest Zone = HTCLIENT;
        QPoint PressGlobal;
        QRect StartGeometry;
    };
    TFrameDrag FDrag;
};

}  // namespace quenmark
