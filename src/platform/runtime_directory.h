#pragma once

#include <string>

namespace quenmark {

// A directory for the user's sockets and lock files that no other user can
// write into: $XDG_RUNTIME_DIR when it is the user's own and closed to
// others, otherwise "quenmark-UID" under $TMPDIR (or /tmp), created with
// mode 0700 and checked for owner and mode. Empty when neither can be had;
// no trailing "/".
std::string UserRuntimeDirectory();

// Whether a path is a directory (not a symlink) owned by the effective user
// that neither group nor others can enter.
bool IsPrivateDirectory(const std::string& path);

}  // namespace quenmark
