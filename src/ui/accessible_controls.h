#pragma once

namespace quenmark {

// Makes the program's own controls known to assistive technologies: an
// owner-drawn button is a push button named by its caption (or by its
// accessible name where it shows a glyph) that can be pressed; a drop-down
// is a combo box whose value is the chosen item; a window built on a plain
// widget is a frame named by its title. Installing more than once does
// nothing more.
void InstallAccessibleControls();

}  // namespace quenmark
