// The unit window as a borderless window: its frame and title, its keys,
// moving by the title strip, sizing by the side edges, the effect when it is
// shown or hidden, and its placement in the settings.
#include "ui/unit_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "app/settings.h"
#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"
#include "ui/main_window_frame_rules.h"
#include "ui/quen_combo_box.h"
#include "ui/window_helpers.h"

namespace quenmark {

namespace {

TEdges EdgesOf(const QRect& rect) { return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()}; }

}  // namespace

void TfrmCalUnit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TColorScheme& colors = FSettings.ColorScheme;
    PaintFrame(painter, width(), height(), colors, IsWindowActive(*this));
    painter.setPen(ToQColor(colors.DarkColor));
    painter.setBrush(ToQColor(colors.BaseColor));
    for (const QRect& shape : {shpFromVar, shpToVar})
        RoundRectangle(painter, EdgesOf(shape), std::min(shape.width(), shape.height()) / 4);
    if (width() >= TitleTextMinimumWidth) PaintTitle(painter);
}

// The title on the base colour, centred in the strip left of btnAuto, so that
// its blanks interrupt the title stripes.
void TfrmCalUnit::PaintTitle(QPainter& painter) {
    QFont font("Arial");
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString title = QStringLiteral("   ") + windowTitle() + QStringLiteral("   ");
    const int textWidth = metrics.horizontalAdvance(title);
    const int left = (btnAuto->x() - 2) / 2 - textWidth / 2 + 2;
    const QRect box(left, 1, textWidth, metrics.height());
    painter.fillRect(box, ToQColor(FSettings.ColorScheme.BaseColor));
    painter.setPen(ToQColor(FSettings.ColorScheme.DarkColor));
    painter.drawText(QPoint(left, 1 + metrics.ascent()), title);
}

void TfrmCalUnit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyHorizontalLayout();
    if (isVisible()) CopyPlacement();
    update();
}

void TfrmCalUnit::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isVisible()) CopyPlacement();
}

void TfrmCalUnit::CopyPlacement() {
    TWindowPlacement& placement = FSettings.UnitPlacement;
    placement.Left = x();
    placement.Top = y();
    placement.Width = width();
    placement.Height = height();
}

QPoint TfrmCalUnit::AnchorPoint() const {
    if (OnAnchorPoint) return OnAnchorPoint();
    const QWidget* owner = parentWidget();
    return owner ? owner->frameGeometry().center() : frameGeometry().center();
}

void TfrmCalUnit::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    CopyPlacement();
    AnimateOutline(*this, AnchorPoint(), true, FSettings);
    edtFromVar->setFocus(Qt::OtherFocusReason);
}

void TfrmCalUnit::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous()) return;
    AnimateOutline(*this, AnchorPoint(), false, FSettings);
}

void TfrmCalUnit::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) update();
}

// Enter converts; Escape hides when it is let go, if it was also pressed
// here (not in a list that it closed). Both are swallowed.
bool TfrmCalUnit::HandleKey(QKeyEvent* event, bool pressed) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (pressed) Convert();
        return true;
    }
    if (key != Qt::Key_Escape) return false;
    if (pressed) {
        FEscapePressed = true;
    } else if (!event->isAutoRepeat() && FEscapePressed) {
        FEscapePressed = false;
        HideWindow();
    }
    return true;
}

void TfrmCalUnit::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event, true)) QWidget::keyPressEvent(event);
}

void TfrmCalUnit::keyReleaseEvent(QKeyEvent* event) {
    if (!HandleKey(event, false)) QWidget::keyReleaseEvent(event);
}

bool TfrmCalUnit::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: return HandleKey(static_cast<QKeyEvent*>(event), true);
    case QEvent::KeyRelease: return HandleKey(static_cast<QKeyEvent*>(event), false);
    case QEvent::FocusOut:
        if (watched == edtFromVar) Convert();
        return false;
    default: return QWidget::eventFilter(watched, event);
    }
}

void TfrmCalUnit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    FGrip = UnitWindowGripAt(event->position().toPoint(), size());
    const QPoint global = event->globalPosition().toPoint();
    if (FGrip == TUnitWindowGrip::Caption) {
        FGripOffset = global - pos();
    } else if (FGrip != TUnitWindowGrip::None) {
        const Qt::Edges edge = FGrip == TUnitWindowGrip::LeftEdge ? Qt::LeftEdge : Qt::RightEdge;
        if (windowHandle() && windowHandle()->startSystemResize(edge)) {
            FGrip = TUnitWindowGrip::None;
        } else {
            FGripOffset = global;
            FGripGeometry = geometry();
        }
    }
    event->accept();
}

void TfrmCalUnit::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    switch (FGrip) {
    case TUnitWindowGrip::Caption: MoveByCaption(global); break;
    case TUnitWindowGrip::LeftEdge:
    case TUnitWindowGrip::RightEdge: ResizeByEdge(global); break;
    case TUnitWindowGrip::None: {
        const TUnitWindowGrip hover = UnitWindowGripAt(event->position().toPoint(), size());
        const bool edge = hover == TUnitWindowGrip::LeftEdge || hover == TUnitWindowGrip::RightEdge;
        setCursor(edge ? Qt::SizeHorCursor : Qt::ArrowCursor);
        break;
    }
    }
    event->accept();
}

void TfrmCalUnit::mouseReleaseEvent(QMouseEvent* event) {
    FGrip = TUnitWindowGrip::None;
    event->accept();
}

void TfrmCalUnit::MoveByCaption(QPoint globalPosition) {
    QPoint position = globalPosition - FGripOffset;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const TPositionLimits limits{screen->geometry().size(), screen->availableGeometry(), FSettings.SnapAtEdge};
        position = ConstrainWindowPosition(position, size(), limits);
    }
    move(position);
}

// Sizing where the window system does not do it: only the width changes.
void TfrmCalUnit::ResizeByEdge(QPoint globalPosition) {
    const Qt::Edges edge = FGrip == TUnitWindowGrip::LeftEdge ? Qt::LeftEdge : Qt::RightEdge;
    const QPoint delta(globalPosition.x() - FGripOffset.x(), 0);
    setGeometry(ResizedGeometry(FGripGeometry, edge, delta, QSize(minimumWidth(), height())));
}

}  // namespace quenmark
