#pragma once

#include <QIcon>
#include <QPixmap>

namespace quenmark {

// The application and tray icons: one per colour scheme, a miniature of the
// main window in the scheme's colours.
inline constexpr int SchemeIconCount = 9;

// The picture of icon number index at size x size device-independent
// pixels (16 is the list's size), sharp at the application's device pixel
// ratio; an index outside the list gives icon 0, so that a window never
// loses its icon to a damaged setting.
QPixmap SchemeIconPixmap(int index, int size = 16);

// The icon number index in the sizes a desktop asks for.
QIcon SchemeIcon(int index);

}  // namespace quenmark
