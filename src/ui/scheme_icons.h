#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quenmark {

// The artwork shipped with the program (resources/icons), compiled into
// the program as Qt resources: one icon per colour scheme, a miniature of
// the main window in the scheme's colours, drawn at 16, 32 and 48 pixels.

// The resource path of scheme icon index drawn at size pixels (16, 32 or
// 48), such as ":/icons/scheme-3-32.png".
QString SchemeIconResourcePath(int index, int size);

// The resource path of scheme icon index as an SVG drawing, such as
// ":/icons/scheme-3.svg".
QString SchemeIconSvgPath(int index);

// The picture of scheme icon index at size x size device-independent
// pixels for a screen of the given device pixel ratio: the PNG drawing of
// size x ratio pixels where one exists, otherwise the SVG drawing rendered
// at that size, so that the icon is sharp at every ratio (below the
// smallest drawing, that drawing scaled down smoothly). An index outside
// the list gives icon 0, so that a window never loses its icon to a
// damaged setting.
QPixmap LoadSchemeIconPixmap(int index, int size = 16, qreal ratio = 1.0);

// Scheme icon index with every drawn size, for windows and the tray.
QIcon LoadSchemeIcon(int index);

}  // namespace quenmark
