#include "render_windows.h"

#include "app/settings.h"
#include "definitions/language.h"
#include "definitions/language_list.h"
#include "expression/interpreter.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/quen_combo_box.h"
#include "ui/splash_window.h"
#include "ui/unit_window.h"
#include "vm/module_list.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>

namespace quenmark {
namespace {

// Activates the window and lets the window system catch up, so that it is
// drawn as the active window.
void Activate(QWidget& window) {
    window.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!window.isActiveWindow() && waited.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    return window.grab().toImage().save(path);
}

// The shipped modules, whose functions the module page lists; nothing they
// print is wanted here.
int32_t IgnoreModuleOutput(const char*, int32_t length) { return length; }

void Select(TQuenComboBox& selector, const QString& text) {
    // A selector's rows are numbered by int.
    const int index = static_cast<int>(selector.Items().indexOf(text));
    if (index >= 0) selector.SetItemIndex(index);
}

// The process objects of a first start in a directory of its own.
struct TRenderSession {
    explicit TRenderSession(const QString& programDirectory)
        : Settings(Folder.filePath(QStringLiteral("Quenmark.cfg")).toStdString()) {
        Settings.WindowAnime = false;
        Settings.Splash = false;
        Settings.MainPlacement = {40, 40, 400, 200, true};
        Settings.UnitPlacement = {40, 260, 400, 60, false};
        Context.SetMessages(&Languages);
        Languages.Gather(Context, programDirectory.toStdString() + "/");
        Languages.Select(&Languages.Items(Languages.Count() - 1));
        Modules.LoadDirectory(Context, programDirectory.toStdString() + "/", Interpreter.Variables(),
                              Interpreter.Callables(), IgnoreModuleOutput);
    }

    QTemporaryDir Folder;
    TSettings Settings;
    // The session's context: the texts of the language in force, "." and ",".
    TCCContext Context;
    TCCLanguageList Languages;
    TCCInterpreter Interpreter{Context};
    TVMModuleList Modules;
};

bool RenderMainAndUnitWindows(TRenderSession& session, const QString& directory) {
    TMainWindowContext context;
    context.Settings = &session.Settings;
    context.Interpreter = &session.Interpreter;
    context.Languages = &session.Languages;
    context.Modules = &session.Modules;
    TfrmCalQuen main(std::move(context));
    for (const char* line : {"x = 2 + 3 * 4", "x / 3", "@FORMAT \"#,##0.00\"", "1e6 / 7", "3"})
        main.ExecuteLine(line);
    Activate(main);
    bool saved = Save(main, directory + QStringLiteral("/main-window.png"));
    main.actUnit->trigger();
    TfrmCalUnit* unit = main.UnitWindow();
    if (!unit) return false;
    Select(*unit->cmbFromUnit, QStringLiteral("kilometre (km)"));
    Select(*unit->cmbToUnit, QStringLiteral("mile (mi)"));
    Activate(*unit);
    return Save(*unit, directory + QStringLiteral("/unit-window.png")) && saved;
}

bool RenderOptionsDialog(TRenderSession& session, const QString& directory) {
    TfrmCalOption dialog(session.Settings, session.Languages, session.Modules, TOptionDialogEnvironment{});
    dialog.show();
    bool saved = true;
    for (int page = 0; page < dialog.PageControl->count(); ++page) {
        dialog.SetActivePage(page);
        saved = Save(dialog, directory + QStringLiteral("/options-page-%1.png").arg(page + 1)) && saved;
    }
    return saved;
}

bool RenderSplashAndHelp(TRenderSession& session, const QString& directory, const QString& programDirectory) {
    TfrmCalSplash splash(session.Settings, (programDirectory + QStringLiteral("/quenmark")).toStdString());
    splash.show();
    bool saved = Save(splash, directory + QStringLiteral("/splash.png"));
    THelpWindow help;
    help.resize(480, 360);
    help.SetHelpFile(programDirectory + QStringLiteral("/Quenmark.hlp"));
    help.ShowContents();
    return Save(help, directory + QStringLiteral("/help-window.png")) && saved;
}

}  // namespace

int RenderWindows(const QString& directory, const QString& programDirectory) {
    TRenderSession session(programDirectory);
    bool saved = RenderMainAndUnitWindows(session, directory);
    saved = RenderOptionsDialog(session, directory) && saved;
    saved = RenderSplashAndHelp(session, directory, programDirectory) && saved;
    return saved ? 0 : 1;
}

}  // namespace quenmark
