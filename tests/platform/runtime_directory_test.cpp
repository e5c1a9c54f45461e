#include "platform/runtime_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (hadOld_) setenv(name_, old_.c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

class RuntimeDirectoryTest : public ::testing::Test {
protected:
    testing::TempDirectory temp;
    std::string Path(const char* name) const { return temp.PathOf(name); }
    std::string Fallback() const { return Path("tmp") + "/quenmark-" + std::to_string(geteuid()); }
    void SetUp() override { ASSERT_EQ(mkdir(Path("tmp").c_str(), 0777), 0); }
};

TEST_F(RuntimeDirectoryTest, ThePrivateRuntimeDirectoryOfTheSessionIsUsed) {
    ASSERT_EQ(mkdir(Path("run").c_str(), 0700), 0);
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", Path("run") + "/");
    ScopedEnvironment tmp("TMPDIR", Path("tmp"));
    EXPECT_EQ(UserRuntimeDirectory(), Path("run"));
}

TEST_F(RuntimeDirectoryTest, AnOpenOrMissingRuntimeDirectoryFallsBackToAPrivateOne) {
    ASSERT_EQ(mkdir(Path("run").c_str(), 0755), 0);
    for (const std::string& runtime : {Path("run"), Path("missing"), std::string()}) {
        ScopedEnvironment xdg("XDG_RUNTIME_DIR", runtime);
        ScopedEnvironment tmp("TMPDIR", Path("tmp"));
        EXPECT_EQ(UserRuntimeDirectory(), Fallback()) << runtime;
        struct stat status {};
        ASSERT_EQ(stat(Fallback().c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
    }
}

// Another user (or anyone, through open permissions) who made the fallback
// first could read or replace the sockets in it.
TEST_F(RuntimeDirectoryTest, AFallbackThatIsNotTheUsersOwnIsRefused) {
    ScopedEnvironment xdg("XDG_RUNTIME_DIR", "");
    ScopedEnvironment tmp("TMPDIR", Path("tmp"));
    ASSERT_EQ(mkdir(Fallback().c_str(), 0700), 0);
    ASSERT_EQ(chmod(Fallback().c_str(), 0777), 0);
    EXPECT_EQ(UserRuntimeDirectory(), "");
    ASSERT_EQ(chmod(Fallback().c_str(), 0700), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(Fallback().c_str(), 12345, 12345), 0);
        EXPECT_EQ(UserRuntimeDirectory(), "");
        ASSERT_EQ(chown(Fallback().c_str(), 0, 0), 0);
    }
    EXPECT_EQ(UserRuntimeDirectory(), Fallback());
    ASSERT_EQ(rmdir(Fallback().c_str()), 0);
    ASSERT_EQ(symlink(Path("tmp").c_str(), Fallback().c_str()), 0);
    EXPECT_EQ(UserRuntimeDirectory(), "");
}

}  // namespace
}  // namespace quenmark
