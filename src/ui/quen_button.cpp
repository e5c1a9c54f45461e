#include "ui/quen_button.h"

#include "ui/accessible_controls.h"
#include "ui/canvas_shapes.h"

#include <QAccessible>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QThread>

namespace quenmark {

namespace {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    return shift;
}

// The button that changed in a press or release; the shift state then also
// names that button, as it is held during the event.
bool ButtonOf(const QMouseEvent& event, TMouseButton& button, TShiftState& shift) {
    shift = ShiftStateOf(event.modifiers(), event.buttons());
    switch (event.button()) {
    case Qt::LeftButton:
        button = mbLeft;
        shift |= ssLeft;
        return true;
    case Qt::RightButton:
        button = mbRight;
        shift |= ssRight;
        return true;
    case Qt::MiddleButton:
        button = mbMiddle;
        shift |= ssMiddle;
        return true;
    default: return false;
    }
}

}  // namespace

TQuenButton::TQuenButton(QWidget* owner) : QWidget(owner), FText(objectName()) {
    InstallAccessibleControls();
    setFocusPolicy(Qt::NoFocus);
    // Moves are needed without a held button for the hover face.
    setMouseTracking(true);
}

TQuenButton::~TQuenButton() = default;

// Every look property repaints the button when it is set.
void TQuenButton::SetButtonStyle(TQuenButtonStyle value) { Assign(FButtonStyle, value); }
void TQuenButton::SetStyle(TQuenDrawStyle value) { Assign(FStyle, value); }
// A caption names the button (a drop-down's is its value) to assistive
// technologies, which hear of each change.
void TQuenButton::SetText(const QString& value) {
    if (FText == value) return;
    Assign(FText, value);
    if (!QAccessible::isActive()) return;
    if (accessibleName().isEmpty()) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
    QAccessibleValueChangeEvent changed(this, value);
    QAccessible::updateAccessibility(&changed);
}
void TQuenButton::SetAlignment(TAlignment value) { Assign(FAlignment, value); }
void TQuenButton::SetRoundSize(int value) { Assign(FRoundSize, value); }
void TQuenButton::SetFaceColor(TColor value) { Assign(FFaceColor, value); }
void TQuenButton::SetBorderColor(TColor value) { Assign(FBorderColor, value); }
void TQuenButton::SetTextColor(TColor value) { Assign(FTextColor, value); }
void TQuenButton::SetSelectedColor(TColor value) { Assign(FSelectedColor, value); }
void TQuenButton::SetPushColor(TColor value) { Assign(FPushColor, value); }

void TQuenButton::SetTabStop(bool value) {
    FTabStop = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TQuenButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FCanvas = &painter;
    Paint();
    FCanvas = nullptr;
}

void TQuenButton::Paint() {
    if (hasFocus() && FDrawState == dtNormal) FDrawState = dtSelected;
    DrawFrame(FFaceColor, FBorderColor);
    switch (FDrawState) {
    case dtNormal: DrawFace(FFaceColor, FTextColor); break;
    case dtSelected: DrawFace(FSelectedColor, FFaceColor); break;
    case dtPushed: DrawFace(FPushColor, ComplementColor(FPushColor)); break;
    }
}

void TQuenButton::UseColors(TColor brush, TColor pen) {
    FCanvas->setBrush(ToQColor(brush));
    FCanvas->setPen(ToQColor(pen));
}

void TQuenButton::DrawFrame(TColor back, TColor pen) {
    UseColors(back, pen);
    RoundRectangle(*FCanvas, {0, 0, width(), height()}, FRoundSize);
}

void TQuenButton::DrawFace(TColor back, TColor fore) {
    const TEdges face{2, 2, width() - 2, height() - 2};
    if (FStyle == dsOwnerDraw && OnDrawFace) {
        OnDrawFace(this, ToQRect(face), FDrawState, back, fore);
        return;
    }
    UseColors(back, back);
    RoundRectangle(*FCanvas, face, FRoundSize);
    DrawContent(face, fore);
}

void TQuenButton::DrawContent(const TEdges& face, TColor fore) {
    if (FButtonStyle == qbText) {
        DrawCaption(face, fore);
    } else {
        DrawGlyph(fore);
    }
}

void TQuenButton::DrawCaption(const TEdges& face, TColor fore) {
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(FText);
    const int textHeight = metrics.height();
    int x = width() / 2 - textWidth / 2;
    if (FAlignment == taLeftJustify) x = 4;
    if (FAlignment == taRightJustify) x = width() - textWidth - 4;
    const int y = height() / 2 - textHeight / 2;
    FCanvas->save();
    FCanvas->setClipRect(ToQRect(face));
    FCanvas->setFont(font());
    FCanvas->setPen(ToQColor(fore));
    FCanvas->drawText(x, y + metrics.ascent(), FText);
    FCanvas->restore();
}

void TQuenButton::DrawGlyph(TColor fore) {
    const int w = width();
    const int h = height();
    UseColors(fore, fore);
    switch (FButtonStyle) {
    case qbClose:
        LineSegment(*FCanvas, {3, 3}, {w - 3, h - 3});
        LineSegment(*FCanvas, {w - 4, 3}, {2, h - 3});
        break;
    case qbUp: FilledPolygon(*FCanvas, {{w / 2, h / 4}, {3, 3 * h / 4}, {w - 4, 3 * h / 4}}); break;
    case qbDown: FilledPolygon(*FCanvas, {{w / 2, 3 * h / 4}, {3, h / 4}, {w - 4, h / 4}}); break;
    case qbLeft:
        FilledPolygon(*FCanvas, {{w / 4, h / 2}, {3 * w / 4, 3}, {3 * w / 4, h - 4}});
        break;
    case qbRight: FilledPolygon(*FCanvas, {{3 * w / 4, h / 2}, {w / 4, 3}, {w / 4, h - 4}}); break;
    case qbText: break;
    }
}

void TQuenButton::PaintAs(TQuenDrawType state) {
    FDrawState = state;
    repaint();
}

void TQuenButton::Click() {
    setFocus(Qt::OtherFocusReason);
    if (FBlink) {
        // The blink deliberately holds the user-interface thread: the face
        // must be seen flashing before the action runs.
        for (TQuenDrawType state : {dtNormal, dtPushed, dtNormal}) {
            QThread::msleep(BlinkStepMs);
            PaintAs(state);
        }
        QThread::msleep(BlinkStepMs);
    }
    PaintAs(dtPushed);
    const QPointer<TQuenButton> alive(this);
    if (FPopup) {
        FPopup->popup(FPopupAtButton ? mapToGlobal(QPoint(0, height())) : QCursor::pos());
    } else if (OnClick) {
        const TNotifyEvent handler = OnClick;  // survives the button's end
        handler(this);
    }
    // The handler may have destroyed the button (a window closing itself).
    if (!alive) return;
    PaintAs(dtNormal);
}

void TQuenButton::ClickFromKeyboard() {
    const QPointer<TQuenButton> alive(this);
    FPopupAtButton = true;
    Click();
    if (alive) FPopupAtButton = false;
}

void TQuenButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        ClickFromKeyboard();
        break;
    default: QWidget::keyPressEvent(event);
    }
}

void TQuenButton::ChangeDrawState(TQuenDrawType state) {
    FDrawState = state;
    update();
}

void TQuenButton::focusInEvent(QFocusEvent* event) {
    ChangeDrawState(dtSelected);
    QWidget::focusInEvent(event);
}

void TQuenButton::focusOutEvent(QFocusEvent* event) {
    ChangeDrawState(dtNormal);
    QWidget::focusOutEvent(event);
}

void TQuenButton::mousePressEvent(QMouseEvent* event) {
    TMouseButton button;
    TShiftState shift;
    if (!ButtonOf(*event, button, shift)) return;
    if (button == mbLeft) FClicked = true;
    const QPoint at = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, button, shift, at.x(), at.y());
}

void TQuenButton::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button;
    TShiftState shift;
    if (!ButtonOf(*event, button, shift)) return;
    const QPoint at = event->position().toPoint();
    const QPointer<TQuenButton> alive(this);
    if (button == mbLeft && FClicked) {
        FClicked = false;
        if (rect().contains(at)) Click();
        if (!alive) return;
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, at.x(), at.y());
}

void TQuenButton::mouseDoubleClickEvent(QMouseEvent* event) {
    TMouseButton button;
    TShiftState shift;
    if (!ButtonOf(*event, button, shift)) return;
    if (button == mbLeft) FClicked = true;
    const QPoint at = event->position().toPoint();
    const QPointer<TQuenButton> alive(this);
    if (OnMouseDown) OnMouseDown(this, button, shift | ssDouble, at.x(), at.y());
    if (alive && button == mbLeft && OnDblClick) OnDblClick(this);
}

// Strictly inside the client area the pointer is followed and the face is
// selected; anywhere else following ends and the face returns to normal.
void TQuenButton::FollowPointer(QPoint position) {
    const bool inside =
        position.x() > 0 && position.x() < width() && position.y() > 0 && position.y() < height();
    if (inside) {
        FMouseCapture = true;
        if (FDrawState != dtSelected) ChangeDrawState(dtSelected);
    } else {
        FMouseCapture = false;
        ChangeDrawState(dtNormal);
    }
}

void TQuenButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    FollowPointer(at);
    if (OnMouseMove) {
        OnMouseMove(this, ShiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }
}

// Qt reports the pointer leaving the widget, which is the move outside that
// ends the following; the pointer itself is never grabbed.
void TQuenButton::leaveEvent(QEvent* event) {
    if (FMouseCapture) FollowPointer({-1, -1});
    QWidget::leaveEvent(event);
}

}  // namespace quenmark
