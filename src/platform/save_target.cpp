#include "platform/save_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quenmark {

namespace {

TSaveTargetCheck Problem(TSaveTargetProblem problem, int error = 0) { return {problem, error}; }

TSaveTargetCheck CheckFileItself(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return Problem(TSaveTargetProblem::NotRegularFile, EISDIR);
    if (!S_ISREG(status.st_mode)) return Problem(TSaveTargetProblem::NotRegularFile, EINVAL);
    if ((status.st_mode & S_IWUSR) == 0) return Problem(TSaveTargetProblem::ReadOnly, EACCES);
    return {};
}

}  // namespace

TSaveTargetCheck CheckSaveTarget(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT) return {};
        return Problem(TSaveTargetProblem::Inaccessible, errno);
    }
    if (!S_ISLNK(link.st_mode)) return CheckFileItself(link);
    if (link.st_uid != geteuid() && link.st_uid != 0) return Problem(TSaveTargetProblem::ForeignSymbolicLink, EPERM);
    struct stat target {};
    if (stat(path.c_str(), &target) != 0) {
        // A dangling link is replaced by the new file itself.
        if (errno == ENOENT) return {};
        return Problem(TSaveTargetProblem::Inaccessible, errno);
    }
    return CheckFileItself(target);
}

}  // namespace quenmark
