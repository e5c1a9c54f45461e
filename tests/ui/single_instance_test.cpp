#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace quenmark {
namespace {

// A name of this test's own, so that no running copy of the program is
// disturbed.
QString TestServerName(const char* suffix) {
    return QStringLiteral("quenmark-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(QString::fromUtf8(suffix));
}

TEST(SingleInstance, TheNameJoinsDirectoryTitleUserAndDisplay) {
    EXPECT_EQ(TSingleInstance::ServerName(QStringLiteral("/run/user/1000"), QStringLiteral("Quenmark 1.1"), 1000,
                                          QStringLiteral(":0")),
              QStringLiteral("/run/user/1000/Quenmark 1.1-1000-:0"));
    EXPECT_NE(TSingleInstance::ServerName(QStringLiteral("/d"), QStringLiteral("Q"), 1000, QStringLiteral(":1")),
              TSingleInstance::ServerName(QStringLiteral("/d"), QStringLiteral("Q"), 1000, QStringLiteral(":2")));
    EXPECT_EQ(TSingleInstance::ServerName(QStringLiteral("/d"), QStringLiteral("Q"), 7, QStringLiteral("a/b")),
              QStringLiteral("/d/Q-7-a_b"));
}

TEST(SingleInstance, TheDisplayNameLeavesOutTheScreen) {
    const QByteArray old = qgetenv("DISPLAY");
    qputenv("DISPLAY", "localhost:10.1");
    EXPECT_EQ(TSingleInstance::DisplayName(), QStringLiteral("localhost:10"));
    qputenv("DISPLAY", ":2");
    EXPECT_EQ(TSingleInstance::DisplayName(), QStringLiteral(":2"));
    if (old.isNull()) qunsetenv("DISPLAY");
    else qputenv("DISPLAY", old);
}

// The launch lock's test names live in a directory of the test's own.
QString LockedServerName(const QTemporaryDir& directory) { return directory.filePath(QStringLiteral("launch")); }

TEST(SingleInstance, OfTwoLaunchesAtTheSameMomentTheSecondActivatesTheFirst) {
    QTemporaryDir directory;
    TSingleInstance first(LockedServerName(directory));
    ASSERT_EQ(first.ClaimOrActivate(), TSingleInstance::TLaunch::First);
    QSignalSpy activations(&first, &TSingleInstance::ActivationRequested);
    // The second launch comes while the first still loads: it holds the
    // lock but does not listen yet.
    std::atomic<int> outcome{-1};
    std::thread second([&]() {
        TSingleInstance launch(LockedServerName(directory));
        outcome = static_cast<int>(launch.ClaimOrActivate(5000));
    });
    QTest::qWait(400);
    EXPECT_EQ(outcome.load(), -1);
    ASSERT_TRUE(first.Listen());
    QTRY_COMPARE_WITH_TIMEOUT(activations.size(), 1, 5000);
    second.join();
    EXPECT_EQ(outcome.load(), static_cast<int>(TSingleInstance::TLaunch::Activated));
}

TEST(SingleInstance, ALockLeftByAKilledLaunchDoesNotBlockTheNext) {
    QTemporaryDir directory;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(LockedServerName(directory) + QStringLiteral(".lock"));
        _exit(lock.tryLock(0) ? 0 : 1);  // ends without unlocking, as a killed copy
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(LockedServerName(directory) + QStringLiteral(".lock")));
    QElapsedTimer clock;
    clock.start();
    TSingleInstance launch(LockedServerName(directory));
    EXPECT_EQ(launch.ClaimOrActivate(5000), TSingleInstance::TLaunch::First);
    EXPECT_LT(clock.elapsed(), 3000);
}

// Sends bytes over a plain socket, as another process of any user could.
bool SendRaw(const QString& name, const QByteArray& bytes) {
    const QByteArray path = QFile::encodeName(name);
    const int descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    if (descriptor < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::min(sizeof address.sun_path - 1, size_t(path.size())));
    const bool sent = connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                      write(descriptor, bytes.constData(), size_t(bytes.size())) == bytes.size();
    close(descriptor);
    return sent;
}

bool SendRawActivation(const QString& name) { return SendRaw(name, TSingleInstance::ActivationRequest); }

TEST(SingleInstance, AConnectionFromAnotherUserActivatesNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "taking another user's identity needs root";
    // Under /tmp itself, so that the other user can reach the socket.
    QTemporaryDir directory(QStringLiteral("/tmp/quenmark-peer-XXXXXX"));
    ASSERT_EQ(chmod(QFile::encodeName(directory.path()).constData(), 0777), 0);
    TSingleInstance running(LockedServerName(directory));
    ASSERT_TRUE(running.Listen());
    ASSERT_EQ(chmod(QFile::encodeName(LockedServerName(directory)).constData(), 0777), 0);
    QSignalSpy activations(&running, &TSingleInstance::ActivationRequested);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(setuid(65534) == 0 && SendRawActivation(LockedServerName(directory)) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user could not connect";
    QTest::qWait(300);
    EXPECT_TRUE(activations.isEmpty());
    ASSERT_TRUE(SendRawActivation(LockedServerName(directory)));
    EXPECT_TRUE(activations.wait(2000));
}

TEST(SingleInstance, WithoutARunningCopyTheLaunchGoesOnAtOnce) {
    TSingleInstance launch(TestServerName("none"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(launch.ActivateRunning());
    EXPECT_LT(clock.elapsed(), 500);
}

TEST(SingleInstance, ASecondLaunchActivatesTheRunningCopy) {
    TSingleInstance running(TestServerName("activate"));
    ASSERT_TRUE(running.Listen());
    QSignalSpy activations(&running, &TSingleInstance::ActivationRequested);
    TSingleInstance launch(TestServerName("activate"));
    EXPECT_TRUE(launch.ActivateRunning());
    EXPECT_TRUE(activations.wait(2000));
    EXPECT_EQ(activations.size(), 1);
    EXPECT_TRUE(launch.ActivateRunning());
    QTRY_COMPARE(activations.size(), 2);
}

TEST(SingleInstance, AnotherListeningCopyKeepsItsName) {
    TSingleInstance first(TestServerName("busy"));
    ASSERT_TRUE(first.Listen());
    TSingleInstance second(TestServerName("busy"));
    EXPECT_FALSE(second.Listen());
    EXPECT_FALSE(second.IsListening());
    QSignalSpy activations(&first, &TSingleInstance::ActivationRequested);
    EXPECT_TRUE(TSingleInstance(TestServerName("busy")).ActivateRunning());
    EXPECT_TRUE(activations.wait(2000));
}

// A socket file that nobody listens on any more, as a copy that was killed
// leaves it behind.
TEST(SingleInstance, ASocketLeftByAnEndedCopyIsReplaced) {
    const QString name = TestServerName("stale");
    const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
    const int descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(descriptor, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    ASSERT_EQ(bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(descriptor);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));

    EXPECT_FALSE(TSingleInstance(name).ActivateRunning());
    TSingleInstance running(name);
    EXPECT_TRUE(running.Listen());
    QSignalSpy activations(&running, &TSingleInstance::ActivationRequested);
    EXPECT_TRUE(TSingleInstance(name).ActivateRunning());
    EXPECT_TRUE(activations.wait(2000));
}

TEST(SingleInstance, APartnerSendingSomethingElseActivatesNothing) {
    TSingleInstance running(TestServerName("other"));
    ASSERT_TRUE(running.Listen());
    QSignalSpy activations(&running, &TSingleInstance::ActivationRequested);
    const QString path = QDir::tempPath() + QLatin1Char('/') + TestServerName("other");
    for (const QByteArray& message : {QByteArray("HELLO\n"), QByteArray("ACTIVATE"), QByteArray(200, 'A')})
        ASSERT_TRUE(SendRaw(path, message));
    QTest::qWait(200);
    EXPECT_TRUE(activations.isEmpty());
}

}  // namespace
}  // namespace quenmark
