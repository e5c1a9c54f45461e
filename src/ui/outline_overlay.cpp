#include "ui/outline_overlay.h"

#include <QApplication>
#include <QBackingStore>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

namespace quenmark {

namespace {

using Clock = std::chrono::steady_clock;

constexpr Qt::WindowFlags OverlayFlags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                         Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
                                         Qt::X11BypassWindowManagerHint;

QImage ContentsFor(const QSize& size, const QImage& background, QColor fallback) {
    if (background.isNull()) {
        QImage contents(size, QImage::Format_RGB32);
        contents.fill(fallback);
        return contents;
    }
    QImage contents = background.convertToFormat(QImage::Format_RGB32);
    contents.setDevicePixelRatio(1);
    if (contents.size() != size) contents = contents.scaled(size);
    contents.invertPixels();
    return contents;
}

// The outline of every frame as a region of screen pixels.
std::vector<QRegion> FrameRegions(const TOutlineFrames& frames) {
    std::vector<QRegion> regions;
    regions.reserve(frames.size());
    for (const TOutlineFrame& frame : frames) {
        regions.push_back(RegionOfPixels(OutlinePixels(RoundOutlineCorners(frame))));
    }
    return regions;
}

// Where no compositor keeps the windows' contents, pixels the overlay gives
// back show what was on the screen until their window paints them again.
// Other programs do so at once; this program's own windows are painted here
// because their event loop waits for the effect.
void RepaintWindowsUnder(const QRegion& screenPixels) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->isMinimized()) continue;
        const QRect place(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        const QRegion covered = screenPixels & place;
        if (!covered.isEmpty()) widget->repaint(covered.translated(-place.topLeft()));
    }
}

// Only windows shaped by the display show nothing but the outlines; the
// offscreen platform shows nothing at all.
bool PlatformShapesWindows() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

QRect AreaOf(const std::vector<QRegion>& regions) {
    QRect area;
    for (const QRegion& region : regions) area |= region.boundingRect();
    return area;
}

// The outlines of the frames on the screen, drawn and erased step by step.
class TOutlineTrail {
public:
    explicit TOutlineTrail(const std::vector<QRegion>& regions)
        : FRegions(regions), FOnScreen(regions.size()) {}

    void Apply(const TOutlineOperation& operation) {
        const bool draw = operation.Action == TOutlineAction::Draw;
        FOnScreen[static_cast<size_t>(operation.Frame)] = draw;
        if (draw) FAdded |= FRegions[static_cast<size_t>(operation.Frame)];
    }

    // Puts the changes since the last update on the overlay in one go.
    void Update(TOutlineOverlay& overlay) {
        QRegion shown;
        for (size_t k = 0; k < FRegions.size(); ++k) {
            if (FOnScreen[k]) shown |= FRegions[k];
        }
        overlay.Show(shown, FAdded);
        FAdded = QRegion();
    }

private:
    const std::vector<QRegion>& FRegions;
    std::vector<bool> FOnScreen;
    QRegion FAdded;
};

}  // namespace

TOutlineOverlay::TOutlineOverlay(const QRect& area, const QImage& background, QColor fallback)
    : FArea(area),
      FContents(ContentsFor(area.size(), background, fallback)),
      FWindow(std::make_unique<QWindow>()) {
    FWindow->setObjectName(QStringLiteral("OutlineOverlay"));
    FWindow->setFlags(OverlayFlags);
    FWindow->setGeometry(area);
    FWindow->create();
    FStore = std::make_unique<QBackingStore>(FWindow.get());
    FStore->resize(area.size());
    PaintContents();
}

TOutlineOverlay::~TOutlineOverlay() {
    FStore.reset();
    FWindow.reset();
}

void TOutlineOverlay::PaintContents() {
    const QRect whole(QPoint(0, 0), FArea.size());
    FStore->beginPaint(whole);
    QPaintDevice* device = FStore->paintDevice();
    if (device) {
        QPainter painter(device);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, FContents);
    }
    FStore->endPaint();
}

// The mask goes first, so that the window never shows more than the
// outlines; then the newly shown pixels are put on the screen.
void TOutlineOverlay::Show(const QRegion& pixels, const QRegion& added) {
    const QRegion removed = FShown - pixels;
    FShown = pixels & FArea;
    if (FShown.isEmpty()) {
        FWindow->hide();
        RepaintWindowsUnder(removed);
        return;
    }
    const QPoint offset = -FArea.topLeft();
    if (PlatformShapesWindows()) FWindow->setMask(FShown.translated(offset));
    if (!FWindow->isVisible()) FWindow->show();
    // One rectangle around the new pixels is one request to the display;
    // the mask keeps everything else in it off the screen.
    const QRegion changed = added & FShown;
    FStore->flush(QRegion((changed.isEmpty() ? FShown : changed).boundingRect().translated(offset)));
    if (!removed.isEmpty()) RepaintWindowsUnder(removed);
}

QRegion RegionOfPixels(const std::vector<TScreenPoint>& pixels) {
    // Rows of horizontal runs, top to bottom and left to right, as a region
    // wants its rectangles.
    std::map<int, std::vector<int>> rows;
    for (const TScreenPoint& pixel : pixels) rows[pixel.Y].push_back(pixel.X);
    std::vector<QRect> runs;
    for (auto& [y, xs] : rows) {
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        size_t start = 0;
        for (size_t k = 1; k <= xs.size(); ++k) {
            if (k < xs.size() && xs[k] == xs[k - 1] + 1) continue;
            runs.emplace_back(xs[start], y, xs[k - 1] - xs[start] + 1, 1);
            start = k;
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

QImage GrabScreenArea(const QRect& area) {
    QScreen* screen = QGuiApplication::screenAt(area.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QPixmap grabbed = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return grabbed.toImage();
}

bool OutlineOverlaySupported() {
    return PlatformShapesWindows() || QGuiApplication::platformName() == QLatin1String("offscreen");
}

void PlayOutlineEffect(const TOutlineFrames& frames, QColor fallback, const TOutlineStepObserver& observer) {
    if (!OutlineOverlaySupported()) return;
    const std::vector<QRegion> regions = FrameRegions(frames);
    const QRect area = AreaOf(regions);
    TOutlineOverlay overlay(area, GrabScreenArea(area), fallback);
    TOutlineTrail trail(regions);
    int step = 0;
    Clock::time_point stepStart = Clock::now();
    for (const TOutlineOperation& operation : OutlineOperations()) {
        if (operation.Action != TOutlineAction::Pace) {
            trail.Apply(operation);
            continue;
        }
        trail.Update(overlay);
        if (observer) observer(step, overlay);
        ++step;
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stepStart);
        std::this_thread::sleep_for(std::chrono::milliseconds(OutlinePaceMilliseconds(elapsed.count())));
        stepStart = Clock::now();
    }
    // The erases after the last step take the rest of the trail away.
    trail.Update(overlay);
}

}  // namespace quenmark
