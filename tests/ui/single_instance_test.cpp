#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace quenmark {
namespace {

// A name of this test's own, so that no running copy of the program is
// disturbed.
QString TestServerName(const char* suffix) {
    return QStringLiteral("quenmark-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(QString::fromUtf8(suffix));
}

TEST(SingleInstance, TheNameJoinsTitleAndUser) {
    EXPECT_EQ(TSingleInstance::ServerName(QStringLiteral("Quenmark 1.1"), 1000), QStringLiteral("Quenmark 1.1-1000"));
    EXPECT_EQ(TSingleInstance::ServerNameForCurrentUser(QStringLiteral("Quenmark 1.1")),
              QStringLiteral("Quenmark 1.1-%1").arg(geteuid()));
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
    for (const QByteArray& message : {QByteArray("HELLO\n"), QByteArray("ACTIVATE"), QByteArray(200, 'A')}) {
        QLocalSocket partner;
        partner.connectToServer(TestServerName("other"));
        ASSERT_TRUE(partner.waitForConnected(1000));
        partner.write(message);
        ASSERT_TRUE(partner.waitForBytesWritten(1000));
        partner.disconnectFromServer();
    }
    QTest::qWait(200);
    EXPECT_TRUE(activations.isEmpty());
}

}  // namespace
}  // namespace quenmark
