#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

#include <functional>
#include <memory>
#include <vector>

#include "app/outline_frames.h"

class QBackingStore;
class QWindow;

namespace quenmark {

// The screen-wide pen of the outline effect: a frameless top-level window
// over the area the effect crosses that takes no input and no focus and is
// shaped to the outline pixels, so that nothing but the outlines ever shows
// (also where no compositor runs). Each outline pixel shows the screen's
// colour inverted, taken from a snapshot of the area made before the effect
// starts; without a snapshot it shows the fallback colour.
class TOutlineOverlay {
public:
    // area is in screen coordinates; background, when not null, is the
    // screen's content under it.
    TOutlineOverlay(const QRect& area, const QImage& background, QColor fallback);
    ~TOutlineOverlay();
    TOutlineOverlay(const TOutlineOverlay&) = delete;
    TOutlineOverlay& operator=(const TOutlineOverlay&) = delete;

    // Shows exactly the given pixels (screen coordinates), of which added
    // are new since the last call; an empty region hides the overlay.
    void Show(const QRegion& pixels, const QRegion& added);

    const QRect& Area() const { return FArea; }
    // The pixels on the screen now, in screen coordinates; empty while hidden.
    const QRegion& Shown() const { return FShown; }
    // What an outline pixel at a point of the area looks like.
    const QImage& Contents() const { return FContents; }
    const QWindow& Window() const { return *FWindow; }

private:
    void PaintContents();

    QRect FArea;
    QImage FContents;
    QRegion FShown;
    std::unique_ptr<QWindow> FWindow;
    std::unique_ptr<QBackingStore> FStore;
};

// The pixels of a list of points as a region.
QRegion RegionOfPixels(const std::vector<TScreenPoint>& pixels);

// The screen's content under area, or a null image when it cannot be read.
QImage GrabScreenArea(const QRect& area);

// Whether the platform can show the overlay without showing more than the
// outlines: X11 shapes windows; the offscreen platform shows nothing.
// Elsewhere (a native Wayland session, say) the effect is not drawn.
bool OutlineOverlaySupported();

// Called after every step of the effect with the step's number (0 to 24)
// and the overlay as it is on the screen then.
using TOutlineStepObserver = std::function<void(int step, const TOutlineOverlay& overlay)>;

// Plays the effect's drawing order on an overlay: every step updates the
// outlines on the screen at once and is paced to 10 ms with real waiting,
// so the whole effect blocks for about a quarter of a second. No events are
// processed while it runs. Nothing remains on the screen afterwards. Does
// nothing where the overlay is not supported.
void PlayOutlineEffect(const TOutlineFrames& frames, QColor fallback,
                       const TOutlineStepObserver& observer = nullptr);

}  // namespace quenmark
