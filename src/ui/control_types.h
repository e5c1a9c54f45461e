#pragma once

#include <functional>

class QObject;

namespace quenmark {

// Types shared by the program's own controls and the tray icon. An event
// handler that is not set (empty function) is simply not called.

// Horizontal placement of a caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event.
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(QObject* sender)>;
using TMouseEvent =
    std::function<void(QObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject* sender, TShiftState shift, int x, int y)>;

}  // namespace quenmark
