#include "ui/screen_keeper.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

#include "app/screen_placement.h"
#include "app/settings.h"

namespace quenmark {

namespace {

TScreenRect ToScreenRect(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

QRect ToRect(const TScreenRect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

// The available areas of the screens, the primary one first.
std::vector<TScreenRect> AvailableAreas() {
    std::vector<TScreenRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) areas.push_back(ToScreenRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) areas.push_back(ToScreenRect(screen->availableGeometry()));
    return areas;
}

}  // namespace

void SetPlacementGeometry(TWindowPlacement& placement, const QRect& geometry) {
    placement.Left = geometry.x();
    placement.Top = geometry.y();
    placement.Width = geometry.width();
    placement.Height = geometry.height();
}

TScreenKeeper::TScreenKeeper(QWidget* window, int titleHeight, TPreferred preferred)
    : QObject(window), FWindow(window), FTitleHeight(titleHeight), FPreferred(std::move(preferred)) {
    auto* application = qGuiApp;
    connect(application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        Watch(screen);
        CheckLater();
    });
    connect(application, &QGuiApplication::screenRemoved, this, &TScreenKeeper::CheckLater);
    connect(application, &QGuiApplication::primaryScreenChanged, this, &TScreenKeeper::CheckLater);
    for (QScreen* screen : QGuiApplication::screens()) Watch(screen);
}

void TScreenKeeper::Watch(QScreen* screen) {
    connect(screen, &QScreen::availableGeometryChanged, this, &TScreenKeeper::CheckLater);
}

// Screens report a change before every screen and window has followed it,
// so the check runs once the events of the change are through.
void TScreenKeeper::CheckLater() {
    if (FCheckPending) return;
    FCheckPending = true;
    QTimer::singleShot(0, this, [this] {
        FCheckPending = false;
        KeepOnScreen();
    });
}

bool TScreenKeeper::KeepOnScreen() {
    const QRect current = FWindow->geometry();
    std::optional<TScreenRect> preferred;
    if (FPreferred)
        if (const std::optional<QRect> place = FPreferred()) preferred = ToScreenRect(*place);
    const TScreenRect placed = PlaceOnScreens(ToScreenRect(current), FTitleHeight, AvailableAreas(), preferred);
    if (ToRect(placed) == current) return false;
    FWindow->setGeometry(ToRect(placed));
    if (OnPlaced) OnPlaced(FWindow->geometry());
    return true;
}

}  // namespace quenmark
