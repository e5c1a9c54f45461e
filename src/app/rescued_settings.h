#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "app/prepared_save.h"
#include "base/context.h"

namespace quenmark {

// Where the state goes when a program must end and the settings file
// cannot be written: a file of its own in the user's state folder, so that
// the work is not lost and the user can copy it back.

// "$XDG_STATE_HOME/quenmark/" for an absolute stateHome, otherwise
// "HOME/.local/state/quenmark/"; empty without either.
std::string RescueDirectory(const std::string& homeDirectory, const std::string& stateHome);

// Writes bytes to a new file "rescued-YYYYMMDD-HHMMSS.cfg" (with "-N"
// before ".cfg" when that name is taken) in directory, creating the
// missing folders owner-only; the file is 0600 and flushed to disk.
// Returns its path, or empty when nothing could be written.
std::string RescueSettingsBytes(const std::string& directory, std::string_view bytes, std::time_t when);

// The same in the user's own rescue folder ($XDG_STATE_HOME, $HOME).
std::string RescueSettingsBytes(std::string_view bytes);

// Writes the prepared state where it belongs or, failing that, to a rescue
// file, reporting either failure on standard error with the program's name.
// The caller must have claimed the prepared write. Returns whether the
// state is on disk somewhere.
bool WritePreparedOrRescue(const TCCContext& context, TPreparedSave& prepared, const std::string& programName);

// Writes bytes to a rescue file after a failed save and tells the user on
// standard error where they went. Returns whether they were written.
bool RescueAfterFailedSave(const TCCContext& context, std::string_view bytes, const std::string& programName);

}  // namespace quenmark
