#pragma once

#include <string>

namespace quenmark {

// The entry that starts the calculator when the user logs in: an XDG
// autostart desktop entry, $HOME/.config/autostart/Quenmark.desktop. The
// options dialog creates it, shows its option checked while the file
// exists, and deletes it when the option is cleared.

// The entry's path under a home directory; empty when home is empty.
std::string GetStartupShortcutPath(const std::string& homeDirectory);
// The entry's path for the current user (home from the password database).
std::string GetStartupShortcutPath();

// The entry's text: it runs programPath in the program's own directory.
std::string StartupShortcutText(const std::string& programPath);

// Writes the entry under homeDirectory in one atomic replacement, creating
// the autostart directory where missing. Returns whether it was written.
bool CreateStartupShortcut(const std::string& homeDirectory, const std::string& programPath);
// The same for the current user and the running executable.
bool CreateStartupShortcut();

// Whether an entry exists under homeDirectory (for the current user).
bool StartupShortcutExists(const std::string& homeDirectory);
bool StartupShortcutExists();

// Deletes the entry under homeDirectory (for the current user); a missing
// entry or a refused deletion is no failure: the option simply stays off.
void DeleteStartupShortcut(const std::string& homeDirectory);
void DeleteStartupShortcut();

}  // namespace quenmark
