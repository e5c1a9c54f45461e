// The desktop program as a process: the single-instance rule between two
// launches and the saves when the program is told to end. These tests use
// the program's real socket name, so they run one at a time and step aside
// when a copy of the program already runs for this user.
#include "main_window_test_support.h"

#include "app/settings_file.h"
#include "ui/single_instance.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>

#include <signal.h>

namespace quenmark::test {
namespace {

QString ProgramPath() { return QStringLiteral(QUENMARK_PROGRAM_PATH); }

QString RealServerName() { return TSingleInstance::ServerNameForCurrentUser(QString::fromUtf8(ProductTitle)); }

bool CopyRuns() { return TSingleInstance(RealServerName()).ActivateRunning(200); }

// Every file of a directory with its bytes and modification time.
QMap<QString, QPair<QByteArray, qint64>> Snapshot(const QString& directory) {
    QMap<QString, QPair<QByteArray, qint64>> files;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        files[path] = {file.readAll(), it.fileInfo().lastModified().toMSecsSinceEpoch()};
    }
    return files;
}

void StartProgram(QProcess& process, const QString& program) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProgram(program);
    process.start();
}

class DesktopProgram : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (CopyRuns()) GTEST_SKIP() << "a copy of the program runs for this user";
    }
};

TEST_F(DesktopProgram, ASecondLaunchShowsTheRunningCopyAndEndsAtOnceTouchingNothing) {
    FSettings->MainPlacement.Show = false;
    TSingleInstance instance(RealServerName());
    MakeWindow();
    ASSERT_TRUE(instance.Listen());
    QObject::connect(&instance, &TSingleInstance::ActivationRequested, &Window(),
                     &TfrmCalQuen::ActivateFromSecondLaunch);
    ASSERT_FALSE(Window().isVisible());

    const QString programDirectory = QFileInfo(ProgramPath()).absolutePath();
    const auto before = Snapshot(programDirectory);
    QProcess launch;
    QElapsedTimer clock;
    clock.start();
    StartProgram(launch, ProgramPath());
    ASSERT_TRUE(launch.waitForFinished(5000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(launch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(launch.exitCode(), 0);
    EXPECT_LT(elapsed, 1000);
    QTRY_VERIFY_WITH_TIMEOUT(Window().isVisible(), 2000);
    EXPECT_TRUE(FSettings->MainPlacement.Show);
    EXPECT_EQ(Snapshot(programDirectory), before);
}

// The program in a directory of its own, so that its settings file is
// this test's.
TEST_F(DesktopProgram, TerminatingTheProgramSavesItsSettings) {
    const QString copy = FDirectory.filePath(QStringLiteral("quenmark"));
    ASSERT_TRUE(QFile::copy(ProgramPath(), copy));
    QProcess program;
    StartProgram(program, copy);
    ASSERT_TRUE(program.waitForStarted(5000));
    // Listening means the main window exists.
    QElapsedTimer clock;
    clock.start();
    while (!CopyRuns() && clock.elapsed() < 10000) QTest::qWait(50);
    ASSERT_TRUE(CopyRuns());
    ASSERT_EQ(kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
    const std::string settings = FDirectory.filePath(QString::fromStdString(SettingsFileBaseName(GetLoginUserName())))
                                     .toStdString();
    EXPECT_TRUE(IsSettingsFileValid(FContext, settings));
}

}  // namespace
}  // namespace quenmark::test
