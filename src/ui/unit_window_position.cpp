#include "ui/unit_window_position.h"

namespace quenmark {

namespace {

constexpr int BorderWidth = 3;

}  // namespace

TUnitWindowGrip UnitWindowGripAt(QPoint position, QSize windowSize) {
    if (position.x() <= BorderWidth) return TUnitWindowGrip::LeftEdge;
    if (position.x() >= windowSize.width() - BorderWidth) return TUnitWindowGrip::RightEdge;
    if (position.y() <= UnitWindowCaptionHeight) return TUnitWindowGrip::Caption;
    return TUnitWindowGrip::None;
}

}  // namespace quenmark
