#pragma once

#include <QObject>
#include <QRect>

#include <functional>
#include <optional>

class QScreen;
class QWidget;

namespace quenmark {

struct TWindowPlacement;

// Copies position and size into a stored placement; whether it shows stays.
void SetPlacementGeometry(TWindowPlacement& placement, const QRect& geometry);

// Keeps a window's title bar on an available screen: checked when asked
// (after a saved position was applied) and again whenever a screen comes,
// goes or changes its available area. A window whose title bar lies on no
// screen goes to its preferred place when given and on a screen, otherwise
// to the bottom right corner of the primary screen.
class TScreenKeeper : public QObject {
public:
    using TPreferred = std::function<std::optional<QRect>()>;

    // The keeper is a child of the window. titleHeight is the height of the
    // rows that move the window.
    TScreenKeeper(QWidget* window, int titleHeight, TPreferred preferred = {});

    // Moves the window where the rule says; true when it moved.
    bool KeepOnScreen();

    // Told the window's new geometry after the keeper moved it, so that the
    // place the window is kept at replaces the one it came from.
    std::function<void(const QRect&)> OnPlaced;

private:
    void Watch(QScreen* screen);
    void CheckLater();

    QWidget* FWindow;
    int FTitleHeight;
    TPreferred FPreferred;
    bool FCheckPending = false;
};

}  // namespace quenmark
