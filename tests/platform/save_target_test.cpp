#include "platform/save_target.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "definitions/temp_directory.h"

namespace quenmark {
namespace {

using testing::TempDirectory;

// Another user's id: the link planted by someone else.
constexpr uid_t OtherUser = 54321;

TEST(SaveTargetTest, EachKindOfFileIsJudged) {
    const struct {
        const char* Behaviour;
        std::function<void(const std::string& path, const TempDirectory& dir)> Make;
        TSaveTargetProblem Problem;
        int Error;
    } rows[] = {
        {"a missing file is created", [](const std::string&, const TempDirectory&) {}, TSaveTargetProblem::None, 0},
        {"a writable file", [](const std::string& p, const TempDirectory& d) { d.Write("f.cfg", "x"); (void)p; },
         TSaveTargetProblem::None, 0},
        {"a file without owner write permission",
         [](const std::string& p, const TempDirectory& d) {
             d.Write("f.cfg", "x");
             chmod(p.c_str(), 0444);
         },
         TSaveTargetProblem::ReadOnly, EACCES},
        {"a directory in the file's place", [](const std::string& p, const TempDirectory&) { mkdir(p.c_str(), 0700); },
         TSaveTargetProblem::NotRegularFile, EISDIR},
        {"a FIFO in the file's place", [](const std::string& p, const TempDirectory&) { mkfifo(p.c_str(), 0600); },
         TSaveTargetProblem::NotRegularFile, EINVAL},
        {"the user's own link to a file",
         [](const std::string& p, const TempDirectory& d) { ASSERT_EQ(symlink(d.Write("target", "x").c_str(), p.c_str()), 0); },
         TSaveTargetProblem::None, 0},
        {"the user's own dangling link", [](const std::string& p, const TempDirectory& d) {
             ASSERT_EQ(symlink(d.PathOf("nowhere").c_str(), p.c_str()), 0);
         },
         TSaveTargetProblem::None, 0},
        {"the user's own link to a read-only file",
         [](const std::string& p, const TempDirectory& d) {
             const std::string target = d.Write("target", "x");
             chmod(target.c_str(), 0400);
             ASSERT_EQ(symlink(target.c_str(), p.c_str()), 0);
         },
         TSaveTargetProblem::ReadOnly, EACCES},
        {"another user's link", [](const std::string& p, const TempDirectory& d) {
             ASSERT_EQ(symlink(d.Write("target", "x").c_str(), p.c_str()), 0);
             ASSERT_EQ(lchown(p.c_str(), OtherUser, OtherUser), 0);
         },
         TSaveTargetProblem::ForeignSymbolicLink, EPERM},
        {"a path through a plain file", [](const std::string&, const TempDirectory& d) { d.Write("plain", "x"); },
         TSaveTargetProblem::Inaccessible, ENOTDIR},
    };
    for (const auto& row : rows) {
        const TempDirectory dir;
        const bool throughFile = row.Problem == TSaveTargetProblem::Inaccessible;
        const std::string path = throughFile ? dir.PathOf("plain/f.cfg") : dir.PathOf("f.cfg");
        row.Make(path, dir);
        if (row.Problem == TSaveTargetProblem::ForeignSymbolicLink && geteuid() != 0) continue;  // lchown needs root
        const TSaveTargetCheck check = CheckSaveTarget(path);
        EXPECT_EQ(check.Problem, row.Problem) << row.Behaviour;
        EXPECT_EQ(check.Error, row.Error) << row.Behaviour;
    }
}

}  // namespace
}  // namespace quenmark
