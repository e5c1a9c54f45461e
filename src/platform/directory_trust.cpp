#include "platform/directory_trust.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

namespace {

bool PassesWithType(const std::string& path, bool directory) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return false;
    const bool typeMatches = directory ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode);
    return typeMatches && IsClosedToOthers(status.st_uid, status.st_mode, geteuid(), TrustedForCode);
}

}  // namespace

bool IsClosedToOthers(uid_t owner, mode_t mode, uid_t user, const TOwnerRule& rule) {
    const bool ownerTrusted = owner == user || (rule.RootMayOwn && owner == 0);
    return ownerTrusted && (mode & rule.ClosedBits) == 0;
}

bool IsTrustedDirectory(const std::string& path) { return PassesWithType(path, true); }

bool IsTrustedFile(const std::string& path) { return PassesWithType(path, false); }

}  // namespace quenmark
