#pragma once

#include <grp.h>
#include <unistd.h>

#include <functional>

namespace quenmark {

// The user and group "nobody": a second user with no files of its own.
constexpr uid_t OtherUserId = 65534;
constexpr gid_t OtherGroupId = 65534;

// Whether this process may start processes as another user (the
// superuser only).
inline bool CanActAsOtherUser() { return geteuid() == 0; }

// Runs body in a child process as the other user, with no supplementary
// groups (as `setpriv --reuid=65534 --regid=65534 --clear-groups` does);
// the child's exit status is body's result. Returns the child's id.
inline pid_t StartAsOtherUser(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child != 0) return child;
    if (setgroups(0, nullptr) != 0 || setresgid(OtherGroupId, OtherGroupId, OtherGroupId) != 0 ||
        setresuid(OtherUserId, OtherUserId, OtherUserId) != 0)
        _exit(120);
    _exit(body());
}

}  // namespace quenmark
