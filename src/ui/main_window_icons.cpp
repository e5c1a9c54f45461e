#include "ui/main_window_icons.h"

#include "app/color_schemes.h"
#include "ui/scheme_icons.h"

#include <QGuiApplication>

namespace quenmark {

static_assert(SchemeIconCount == static_cast<int>(ColorSchemeCount), "one icon per colour scheme");

// The shipped artwork, compiled in as Qt resources.
QPixmap SchemeIconPixmap(int index, int size) {
    return LoadSchemeIconPixmap(index, size, qApp ? qApp->devicePixelRatio() : 1.0);
}

QIcon SchemeIcon(int index) { return LoadSchemeIcon(index); }

}  // namespace quenmark
