#include "ui/window_helpers.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <exception>

#include "app/color_schemes.h"
#include "app/outline_frames.h"
#include "app/settings.h"
#include "ui/canvas_shapes.h"
#include "ui/color_ref.h"
#include "ui/outline_overlay.h"

namespace quenmark {

namespace {

constexpr int TitleStripes[] = {4, 7, 10, 13};
constexpr int TitleSeparatorY = 17;
constexpr int OpaqueAlpha = 255;
constexpr const char* EndingProperty = "quenmarkApplicationEnding";

// Notes on the application object when its event loop has returned, so
// that effects asked for while the program shuts down are skipped.
void WatchForEnding() {
    QCoreApplication* application = QCoreApplication::instance();
    QObject::connect(application, &QCoreApplication::aboutToQuit, application,
                     [application] { application->setProperty(EndingProperty, true); });
}
Q_COREAPP_STARTUP_FUNCTION(WatchForEnding)

// The grip's four lines in BaseColor, each starting at x = W - 2 and running
// down to the left to just above the bottom edge.
constexpr int GripLineStarts[] = {12, 9, 6, 3};

}  // namespace

void PaintFrame(QPainter& painter, int width, int height, const TColorScheme& colors, bool active) {
    painter.save();
    painter.setBrush(ToQColor(colors.BaseColor));
    painter.setPen(ToQColor(colors.DarkColor));
    RoundRectangle(painter, {0, 0, width, height}, 0);
    if (active) {
        for (const int y : TitleStripes) LineSegment(painter, {2, y}, {width - 2, y});
    }
    painter.restore();
    PaintSeparator(painter, width, TitleSeparatorY, colors);
}

void PaintSeparator(QPainter& painter, int width, int y, const TColorScheme& colors) {
    painter.save();
    painter.setPen(ToQColor(colors.DarkColor));
    LineSegment(painter, {2, y}, {width - 2, y});
    painter.restore();
}

void PaintSizeGrip(QPainter& painter, int width, int height, const TColorScheme& colors, bool active) {
    if (!active) return;
    painter.save();
    const QColor dark = ToQColor(colors.DarkColor);
    painter.setPen(dark);
    painter.setBrush(dark);
    FilledPolygon(painter, {{width, height - 14}, {width - 15, height + 1}, {width, height + 1}});
    painter.setPen(ToQColor(colors.BaseColor));
    for (const int start : GripLineStarts) {
        LineSegment(painter, {width - 2, height - start}, {width - start - 1, height - 1});
    }
    painter.restore();
}

void SetLayered(QWidget& window, bool on) {
    if (!on) window.setWindowOpacity(1.0);
}

bool IsLayered(const QWidget& window) { return window.windowOpacity() < 1.0; }

void SetAlpha(QWidget& window, int alpha) {
    if (alpha >= OpaqueAlpha) {
        SetLayered(window, false);
        return;
    }
    SetLayered(window, true);
    // Like the platform's alpha byte, only the low eight bits count.
    const int level = alpha & 0xFF;
    window.setWindowOpacity(static_cast<double>(level) / OpaqueAlpha);
}

void AnimateOutline(QWidget& window, QPoint origin, bool showing, const TSettings& settings) {
    if (!settings.WindowAnime || IsApplicationEnding()) return;
    const QRect place = window.geometry();
    const TOutlineFrames frames = BuildOutlineFrames({place.x(), place.y(), place.width(), place.height()},
                                                     {origin.x(), origin.y()}, showing);
    try {
        PlayOutlineEffect(frames, ToQColor(settings.ColorScheme.DarkColor));
    } catch (const std::exception&) {
        // The effect is decoration: a failure to draw it changes nothing else.
    }
}

bool IsWindowActive(const QWidget& window) {
    return QGuiApplication::applicationState() == Qt::ApplicationActive && window.isActiveWindow();
}

bool IsApplicationEnding() {
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || QCoreApplication::closingDown()) return true;
    return application->property(EndingProperty).toBool();
}

void KeepAboveOwner(QWidget& window) {
    const QWidget* owner = window.parentWidget();
    if (!owner) return;
    const bool onTop = owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    // Changing the flags of a shown window hides it.
    const bool visible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) window.show();
}

}  // namespace quenmark
