#pragma once

#include <QFont>

#include <string>

namespace quenmark {

// The font of the settings' FontName and FontSize (points). "FixedSys", a
// face that exists in one size only on the desktops the settings come from,
// becomes the system's monospace face: the default size 14 gives that
// size's 8 x 15 pixel cell, and other sizes scale the face from there.
// Japanese characters come from the monospace face VL Gothic wherever the
// chosen face has none.
QFont SettingsFont(const std::string& name, int pointSize);

// Whether the name is the one-size "FixedSys" face (letter case ignored).
bool IsFixedSysName(const std::string& name);

}  // namespace quenmark
