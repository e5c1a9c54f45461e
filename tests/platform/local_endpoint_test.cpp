#include "platform/local_endpoint.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quenmark {
namespace {

class LocalEndpoint : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quenmark-endpoint-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FDirectory = pattern;
    }
    void TearDown() override {
        unlink(Path().c_str());
        rmdir(FDirectory.c_str());
    }
    std::string Path() const { return FDirectory + "/socket"; }

    // Everything the listener has been sent on one accepted connection.
    static std::string Receive(int connection) {
        std::string text;
        char buffer[256];
        for (ssize_t count; (count = recv(connection, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            text.append(buffer, static_cast<size_t>(count));
        return text;
    }

    std::string FDirectory;
};

TEST_F(LocalEndpoint, BytesSentReachTheListenerOfThisUser) {
    TLocalListener listener;
    ASSERT_TRUE(listener.Listen(Path()));
    EXPECT_TRUE(LocalListenerAnswers(Path(), 500));
    EXPECT_TRUE(SendToLocalListener(Path(), "ACTIVATE\n", 500));
    // The answers probe connected and closed without a word; then the request.
    const int probe = listener.AcceptFromThisUser();
    ASSERT_GE(probe, 0);
    EXPECT_EQ(Receive(probe), "");
    close(probe);
    const int connection = listener.AcceptFromThisUser();
    ASSERT_GE(connection, 0);
    EXPECT_EQ(Receive(connection), "ACTIVATE\n");
    close(connection);
    EXPECT_EQ(listener.AcceptFromThisUser(), -1) << "nothing else pending, and no wait for it";
}

TEST_F(LocalEndpoint, TheSocketIsClosedToOthersAndRemovedAtTheEnd) {
    {
        TLocalListener listener;
        ASSERT_TRUE(listener.Listen(Path()));
        struct stat status{};
        ASSERT_EQ(lstat(Path().c_str(), &status), 0);
        EXPECT_TRUE(S_ISSOCK(status.st_mode));
        EXPECT_EQ(status.st_mode & 077, 0u);
    }
    EXPECT_NE(access(Path().c_str(), F_OK), 0);
    EXPECT_FALSE(LocalListenerAnswers(Path(), 200));
}

TEST_F(LocalEndpoint, AFileLeftAtThePathIsReplacedAndNobodyAnswersBeforeIt) {
    ASSERT_EQ(close(creat(Path().c_str(), 0600)), 0);
    EXPECT_FALSE(LocalListenerAnswers(Path(), 200));
    EXPECT_FALSE(SendToLocalListener(Path(), "x\n", 200));
    TLocalListener listener;
    EXPECT_TRUE(listener.Listen(Path()));
    EXPECT_TRUE(LocalListenerAnswers(Path(), 500));
}

TEST_F(LocalEndpoint, APathTooLongForASocketIsRefused) {
    const std::string longPath = FDirectory + "/" + std::string(200, 'n');
    TLocalListener listener;
    EXPECT_FALSE(listener.Listen(longPath));
    EXPECT_FALSE(listener.IsListening());
    EXPECT_FALSE(SendToLocalListener(longPath, "x\n", 200));
}

}  // namespace
}  // namespace quenmark
