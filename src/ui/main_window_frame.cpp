#include "ui/main_window.h"

#include "app/settings.h"
#include "ui/color_ref.h"
#include "ui/main_window_completion.h"
#include "ui/main_window_font.h"
#include "ui/main_window_icons.h"
#include "ui/main_window_log.h"
#include "ui/main_window_tray.h"
#include "ui/quen_button.h"
#include "ui/unit_window.h"
#include "ui/window_helpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <limits>

namespace quenmark {

namespace {

// Distances of the title-row buttons from the right end, of the log from
// the right end, and of the input row from the bottom, as designed.
constexpr int UnitButtonFromRight = 107;
constexpr int DecButtonFromRight = 47;
constexpr int HideButtonFromRight = 16;
constexpr int LogTop = 22;
constexpr int LogLeft = 6;
constexpr int LogFromRight = 11;
constexpr int InputRowFromBottom = 6;

QString TitleText() {
    return QStringLiteral("   ") + QString::fromUtf8(ProductName) + QLatin1Char(' ') +
           QString::fromUtf8(ProductVersion) + QStringLiteral("   ");
}

}  // namespace

// --- Placement ----------------------------------------------------------------

void TfrmCalQuen::ApplyPosition() {
    const TWindowPlacement& placement = FSettings.MainPlacement;
    const bool onTop = FSettings.AlwaysOnTop;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        // Changing the flags of a shown window hides it.
        const bool visible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (visible) show();
    }
    resize(std::max(placement.Width, minimumWidth()), std::max(placement.Height, minimumHeight()));
    MoveWindowTo(QPoint(placement.Left, placement.Top));
}

TPositionLimits TfrmCalQuen::PositionLimits() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {QSize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max()), QRect(), false};
    const QRect desktop = screen->virtualGeometry();
    return {QSize(desktop.x() + desktop.width(), desktop.y() + desktop.height()), screen->availableGeometry(),
            FSettings.SnapAtEdge};
}

// Every position the window is given passes the limits and the snapping.
void TfrmCalQuen::MoveWindowTo(QPoint proposed) {
    move(ConstrainWindowPosition(proposed, size(), PositionLimits()));
}

void TfrmCalQuen::CopyPlacement() {
    if (!isVisible()) return;
    TWindowPlacement& placement = FSettings.MainPlacement;
    placement.Left = x();
    placement.Top = y();
    placement.Width = width();
    placement.Height = height();
}

void TfrmCalQuen::ShowWindowNormally() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmCalQuen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
    CopyPlacement();
    update();
}

void TfrmCalQuen::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    CopyPlacement();
}

// --- Layout and colours -------------------------------------------------------

void TfrmCalQuen::ApplyLayout() {
    setFont(SettingsFont(FSettings.FontName, FSettings.FontSize));
    const QFontMetrics metrics(lblLT->font());
    lblLT->resize(metrics.horizontalAdvance(lblLT->text()), metrics.height());
    LayoutControls();
}

// The input row keeps its distance from the bottom, the log fills the rest,
// and the right-hand buttons keep theirs from the right.
void TfrmCalQuen::LayoutControls() {
    const int w = width();
    const int h = height();
    btnUnit->move(w - UnitButtonFromRight, btnUnit->y());
    btnDec->move(w - DecButtonFromRight, btnDec->y());
    btnHide->move(w - HideButtonFromRight, btnHide->y());
    const int rowTop = h - lblLT->height() - InputRowFromBottom;
    lblLT->move(lblLT->x(), rowTop);
    const int inputLeft = lblLT->x() + lblLT->width() + 4;
    edtLine->setGeometry(inputLeft, rowTop, w - inputLeft - 8, lblLT->height());
    memLog->setGeometry(LogLeft, LogTop, w - LogFromRight, rowTop - LogTop - 8);
}

void TfrmCalQuen::ApplyColors() {
    const TColorScheme& scheme = FSettings.ColorScheme;
    QPalette colors = palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        colors.setColor(role, ToQColor(scheme.BaseColor));
    setPalette(colors);
    SetFontColor(scheme.TextColor);
    memLog->SetScrollBarColors(ToQColor(scheme.BaseColor), ToQColor(scheme.DarkColor));
    FCompletion->ApplyColors(scheme);
    for (TQuenButton* button : {btnControl, btnUnit, btnDec, btnHide}) {
        button->SetFaceColor(scheme.BaseColor);
        button->SetBorderColor(scheme.DarkColor);
        button->SetSelectedColor(scheme.DarkColor);
        button->SetTextColor(scheme.DarkColor);
    }
    const QIcon icon = SchemeIcon(scheme.Icon);
    setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    FTray->Apply(icon, FSettings.StayResident);
}

void TfrmCalQuen::SetFontColor(TColor color) {
    QPalette colors = palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colors.setColor(role, ToQColor(color));
    setPalette(colors);
    update();
}

// The text shows whether the application is active; its windows become
// more or less transparent with it.
void TfrmCalQuen::ApplicationStateChanged(bool active) {
    const TColorScheme& scheme = FSettings.ColorScheme;
    const int alpha = active ? FSettings.AlphaActive : FSettings.AlphaInactive;
    SetFontColor(active ? scheme.TextColor : scheme.DarkColor);
    SetAlpha(*this, alpha);
    if (FUnitWindow) {
        FUnitWindow->SetApplicationActive(active);
        SetAlpha(*FUnitWindow, alpha);
    }
}

// --- Showing, hiding, activation ------------------------------------------------

bool TfrmCalQuen::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        update();
        FocusInput();
    } else if (event->type() == QEvent::WindowDeactivate) {
        update();
    }
    return QWidget::event(event);
}

// Showing and hiding by the program (not the desktop's minimising) run the
// window effect between the window and its origin.
void TfrmCalQuen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    AnimateOutline(*this, FAnimationOrigin, true, FSettings);
    if (FSettings.UnitPlacement.Show) actUnit->trigger();
    FocusInput();
}

void TfrmCalQuen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous() || FClosing) return;
    AnimateOutline(*this, FAnimationOrigin, false, FSettings);
}

// Closing by the desktop (Alt+F4, the window list) asks as Exit does; the
// program's own close comes after Exit's question or at the session's end.
void TfrmCalQuen::closeEvent(QCloseEvent* event) {
    if (!FRunEnded && !FClosing && !Ask(Caption("QEN901"))) {
        event->ignore();
        FocusInput();
        return;
    }
    event->accept();
    FClosing = true;
    emit RunEnded(0);
}

// --- Painting -----------------------------------------------------------------

void TfrmCalQuen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TColorScheme& scheme = FSettings.ColorScheme;
    const bool active = IsWindowActive(*this);
    PaintFrame(painter, width(), height(), scheme, active);
    PaintSeparator(painter, width(), lblLT->y() - 4, scheme);
    PaintSizeGrip(painter, width(), height(), scheme, active);
    if (width() >= TitleTextMinimumWidth) PaintTitleText(painter);
}

void TfrmCalQuen::PaintTitleText(QPainter& painter) {
    const TColorScheme& scheme = FSettings.ColorScheme;
    const QFont font(QStringLiteral("Arial"), 9);
    const QFontMetrics metrics(font);
    const QString text = TitleText();
    const int textWidth = metrics.horizontalAdvance(text);
    const int left = TitleTextLeft(btnControl->x() + btnControl->width(), btnUnit->x(), textWidth);
    painter.fillRect(QRect(left, 1, textWidth, metrics.height()), ToQColor(scheme.BaseColor));
    painter.setFont(font);
    painter.setPen(ToQColor(scheme.DarkColor));
    painter.drawText(QPoint(left, 1 + metrics.ascent()), text);
}

// --- Moving and sizing without a caption ----------------------------------------

// The title row moves the window by the program's own dragging, so that
// every position passes the snapping rule; the edges and the grip size it
// through the desktop, or by the program where the desktop cannot.
void TfrmCalQuen::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const THitTest zone = MainWindowHitTest(event->position().toPoint(), size());
    if (zone == HTCLIENT) return QWidget::mousePressEvent(event);
    StartFrameDrag(event, zone);
}

void TfrmCalQuen::StartFrameDrag(QMouseEvent* event, THitTest zone) {
    event->accept();
    FDrag = {zone, event->globalPosition().toPoint(), geometry()};
    if (zone == HTCAPTION) return;
    QWindow* window = windowHandle();
    if (window && window->startSystemResize(ResizeEdges(zone))) FDrag.Zone = HTCLIENT;
}

void TfrmCalQuen::mouseMoveEvent(QMouseEvent* event) {
    if (FDrag.Zone == HTCLIENT || !(event->buttons() & Qt::LeftButton)) {
        FDrag.Zone = HTCLIENT;
        setCursor(ZoneCursor(MainWindowHitTest(event->position().toPoint(), size())));
        return QWidget::mouseMoveEvent(event);
    }
    const QPoint delta = event->globalPosition().toPoint() - FDrag.PressGlobal;
    if (FDrag.Zone == HTCAPTION) MoveWindowTo(FDrag.StartGeometry.topLeft() + delta);
    else setGeometry(ResizedGeometry(FDrag.StartGeometry, ResizeEdges(FDrag.Zone), delta, minimumSize()));
    event->accept();
}

void TfrmCalQuen::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FDrag.Zone = HTCLIENT;
    QWidget::mouseReleaseEvent(event);
}

}  // namespace quenmark
