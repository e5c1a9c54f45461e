#pragma once

#include <sys/types.h>

#include <string>

namespace quenmark {

// Whether a file or directory is closed to other users: owned by the user
// (or, where allowed, by root) and with none of the closed permission bits
// set. Code and settings are taken only from places that pass; a sticky bit
// changes nothing, as others may still create files there.
struct TOwnerRule {
    bool RootMayOwn = false;
    mode_t ClosedBits = 022;  // the permission bits that must be clear
};

// The rule applied to given owner and mode, for the user.
bool IsClosedToOthers(uid_t owner, mode_t mode, uid_t user, const TOwnerRule& rule);

// Code may be loaded from here: owned by the effective user or by root, and
// neither group nor others may write. Symbolic links are followed.
constexpr TOwnerRule TrustedForCode{true, 022};
bool IsTrustedDirectory(const std::string& path);
bool IsTrustedFile(const std::string& path);

// The user's own directory that neither group nor others may even enter;
// a symbolic link does not pass.
constexpr TOwnerRule PrivateToUser{false, 077};

}  // namespace quenmark
