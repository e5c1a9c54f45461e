// quenmark: the desktop calculator. One copy runs per user: a second launch
// asks the running copy to show itself and ends at once, touching nothing.
#include "app/calculator_process.h"
#include "app/ending_watchdog.h"
#include "app/module_crash_handler.h"
#include "app/settings.h"
#include "app/settings_save.h"
#include "app/version_info.h"
#include "base/program_version.h"
#include "platform/atomic_file.h"
#include "platform/program_directory.h"
#include "ui/main_window.h"
#include "ui/main_window_error_handler.h"
#include "ui/main_window_session_end.h"
#include "ui/session_keeper.h"
#include "ui/single_instance.h"
#include "ui/splash_window.h"

#include <QFont>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <dlfcn.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <optional>
#include <system_error>
#include <thread>

namespace quenmark {
namespace {

// Placement, staying on top, snapping and the program's own moving need a
// desktop that lets windows place themselves: X11, or XWayland under a
// Wayland desktop. A platform the user chose is kept; Wayland remains the
// fallback where no X server can be reached.
void ChoosePlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

std::optional<TWorkArea> PrimaryWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    const QRect area = screen->availableGeometry();
    return TWorkArea{area.x(), area.y(), area.width(), area.height()};
}

// Reading the font configuration takes milliseconds that the first window
// would otherwise wait for. It is read on a second thread while the
// application object connects to the display; Qt's font database then finds
// it loaded. The library is the one Qt has already loaded, found by name, so
// a Qt without fontconfig simply skips this.
class TFontConfigurationReader {
public:
    TFontConfigurationReader() {
        using TInit = int (*)();
        auto* init = reinterpret_cast<TInit>(dlsym(RTLD_DEFAULT, "FcInit"));
        if (!init) return;
        try {
            FThread = std::thread(init);
        } catch (const std::system_error&) {
            // Without a thread Qt reads the configuration when it needs it.
        }
    }
    ~TFontConfigurationReader() { Wait(); }
    TFontConfigurationReader(const TFontConfigurationReader&) = delete;
    TFontConfigurationReader& operator=(const TFontConfigurationReader&) = delete;

    // Called before the first font is used, so the configuration is never
    // read twice.
    void Wait() {
        if (FThread.joinable()) FThread.join();
    }

private:
    std::thread FThread;
};

// Notices of the start (a lock waited for, modules refused or skipped) go to
// standard error, where a desktop session logs them.
void Notice(const std::string& text) { std::cerr << "quenmark: " << text << std::endl; }

// A module that crashes names itself on standard error and in this file
// beside the settings, as the crash leaves no way to show a window.
std::string CrashReportFile(const TSettings& settings) {
    return DirectoryOfPath(settings.FileName()) + "quenmark-crash.txt";
}

QPointer<TfrmCalSplash> ShowSplashWhenAsked(const TSettings& settings) {
    if (!settings.Splash) return nullptr;
    auto* splash = new TfrmCalSplash(settings, ProgramExecutablePath());
    // The splash's serif faces are used nowhere else, but Qt's font cache
    // keeps their engines (and the font files mapped) for the rest of the
    // run. Once the splash and its labels are gone the cache is dropped:
    // the window's fonts find their engines again when next drawn.
    QObject::connect(splash, &QObject::destroyed, [] { QFont::cleanup(); });
    splash->show();
    QCoreApplication::processEvents();
    return splash;
}

// --help and --version are answered before Qt starts, so that they work
// without a display. Any other argument is ignored, as before.
enum class TCommandLineAnswer { None, Help, Version };

TCommandLineAnswer AnswerAskedFor(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") return TCommandLineAnswer::Help;
        if (argument == "--version" || argument == "-V") return TCommandLineAnswer::Version;
    }
    return TCommandLineAnswer::None;
}

std::string DesktopUsageText() {
    return std::string("Usage: quenmark [--help | --version]\n") +
           "The Quenmark expression calculator on the desktop. One copy runs per user;\n"
           "a second start shows the running window.\n"
           "\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "\n"
           "quenmark-console calculates in a terminal and in scripts.\n";
}

std::string DesktopVersionText() {
    return std::string("quenmark (") + ProductNameText + ") " + FileVersionText + "\n" +
           "Copyright (C) 2026 The Quenmark developers.\n"
           "License MIT: <https://opensource.org/licenses/MIT>.\n";
}

// Writes the text with stdio alone, no Qt involved. A failed write is an
// error with status 1, told on standard error; a reader that has gone
// (a closed pipe) is not told.
int PrintAnswer(const std::string& text) {
    signal(SIGPIPE, SIG_IGN);
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    const int writeError = errno;
    if (std::fflush(stdout) == 0 && written) return 0;
    const int error = written ? errno : writeError;
    if (error != EPIPE) std::fprintf(stderr, "quenmark: standard output: %s\n", std::strerror(error));
    return 1;
}

int Main(char* programName) {
    TFontConfigurationReader fontConfiguration;
    ChoosePlatform();
    // The program reads no command line of its own, and gives Qt none.
    int argc = 1;
    char* argv[] = {programName, nullptr};
    TQuenApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(ProductName));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    TSingleInstance instance(TSingleInstance::ServerNameForCurrentUser(QString::fromUtf8(ProductTitle)));
    if (instance.ClaimOrActivate() == TSingleInstance::TLaunch::Activated) return 0;
    // Watching for the end of the session starts before anything else: a
    // SIGTERM during start-up waits in the watcher's pipe until the window
    // can save, instead of ending the program unsaved.
    TSessionEndWatcher sessionEnd;
    // A write beyond the file-size limit fails and is reported instead of
    // ending the program.
    IgnoreFileSizeSignal();
    SettingsLockWait().Notice = Notice;

    // Never destroyed: the modules stay loaded until the process ends, as
    // the watchdog's thread, the crash handlers and the exit handlers may
    // still run while main returns. The static pointer keeps it reachable.
    static TCalculatorProcess* const process = new TCalculatorProcess({}, PrimaryWorkArea);
    process->LoadSettings();
    fontConfiguration.Wait();
    QPointer<TfrmCalSplash> splash = ShowSplashWhenAsked(process->Settings());
    process->LoadLanguages();
    process->CreateInterpreter();
    CatchModuleCrashes({"quenmark", CrashReportFile(process->Settings())});
    process->LoadModulesOnDemand();
    for (const std::string& notice : process->ModuleList().Notices()) Notice(notice);
    process->LoadSavedVariables();

    TMainWindowContext context;
    context.Settings = &process->Settings();
    context.Interpreter = &process->Interpreter();
    context.Languages = &process->LanguageList();
    context.Modules = &process->ModuleList();
    context.OnCaptionSet = [&instance]() { instance.Listen(); };
    context.SplashWindow = splash;
    TfrmCalQuen window(std::move(context));
    QObject::connect(&instance, &TSingleInstance::ActivationRequested, &window,
                     &TfrmCalQuen::ActivateFromSecondLaunch);
    window.WatchSessionEnd(sessionEnd);
    // An ending signal ends the program within a few seconds even while a
    // module call holds the window's thread.
    TEndingWatchdog watchdog(process->Context(), process->Interpreter().LineInterrupt(), window.Keeper().Prepared(),
                             "quenmark");
    watchdog.Start();
    SaveOnModuleCrash(&window.Keeper().Prepared(), true);
    QObject::connect(&window, &TfrmCalQuen::RunEnded, &application, [&application, &watchdog](int exitCode) {
        watchdog.NoteEnded();
        application.exit(exitCode);
    }, Qt::QueuedConnection);
    return application.exec();
}

}  // namespace
}  // namespace quenmark

int main(int argc, char** argv) {
    switch (quenmark::AnswerAskedFor(argc, argv)) {
    case quenmark::TCommandLineAnswer::Help: return quenmark::PrintAnswer(quenmark::DesktopUsageText());
    case quenmark::TCommandLineAnswer::Version: return quenmark::PrintAnswer(quenmark::DesktopVersionText());
    case quenmark::TCommandLineAnswer::None: break;
    }
    return quenmark::Main(argv[0]);
}
