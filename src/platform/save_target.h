#pragma once

#include <string>

namespace quenmark {

// Why a file may not be replaced by a save, checked before anything is
// written.
enum class TSaveTargetProblem {
    None,
    ForeignSymbolicLink,  // a link owned by neither the user nor root
    NotRegularFile,       // a directory, FIFO, device or socket in its place
    ReadOnly,             // the owner has no write permission
    Inaccessible,         // the path itself cannot be examined (errno)
};

struct TSaveTargetCheck {
    TSaveTargetProblem Problem = TSaveTargetProblem::None;
    int Error = 0;  // errno for Inaccessible and NotRegularFile
};

// Checks the file that a save of path would replace. A missing file is
// fine: the save creates it. A symbolic link is followed only when it
// belongs to the effective user or to root, as the kernel's
// protected_symlinks rule does for sticky directories, so that another
// user who can write to the directory cannot redirect the save. The
// owner's write permission is read from the mode bits, since the
// superuser would pass an access() check for any file.
TSaveTargetCheck CheckSaveTarget(const std::string& path);

}  // namespace quenmark
