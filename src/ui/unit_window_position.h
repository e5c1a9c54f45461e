#pragma once

#include <QPoint>
#include <QSize>

namespace quenmark {

// The rows at the top that move the window.
inline constexpr int UnitWindowCaptionHeight = 17;

// Where a press on the unit window itself (not on a control) grabs it.
enum class TUnitWindowGrip { None, LeftEdge, RightEdge, Caption };

// The left three pixels size the left edge, the right three the right edge,
// the top 17 rows move the window; the height is fixed.
TUnitWindowGrip UnitWindowGripAt(QPoint position, QSize windowSize);

}  // namespace quenmark
