#pragma once

#include <QString>

namespace quenmark {

// Renders the program's windows (the main window, the unit window, each page
// of the options dialog, the splash and the help window) into PNG files in
// the directory, with the resources and modules of the program directory.
// Returns 0 when every file was written.
int RenderWindows(const QString& directory, const QString& programDirectory);

}  // namespace quenmark
