#include "ui/scheme_icons.h"

#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>

#include "app/color_schemes.h"

namespace quenmark {

namespace {

constexpr std::array<int, 3> DrawnSizes = {16, 32, 48};

int ValidIndex(int index) { return index >= 0 && index < static_cast<int>(ColorSchemeCount) ? index : 0; }

// The artwork is PNG: reading it as such skips the probing of every image
// format plugin by content, which would load all of them at start-up.
QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The SVG drawing at pixels x pixels, through Qt's SVG image format plugin,
// which is loaded only here, at a size without a PNG; where the plugin is
// not installed, the largest PNG scaled down.
QPixmap RenderSvg(const QString& path, const QString& fallbackPng, int pixels) {
    QImageReader reader(path, "svg");
    reader.setAutoDetectImageFormat(false);
    reader.setScaledSize(QSize(pixels, pixels));
    const QImage image = reader.read();
    if (!image.isNull()) return QPixmap::fromImage(image);
    return ReadPng(fallbackPng).scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool IsDrawnSize(int size) { return std::find(DrawnSizes.begin(), DrawnSizes.end(), size) != DrawnSizes.end(); }

}  // namespace

QString SchemeIconSvgPath(int index) { return QStringLiteral(":/icons/scheme-%1.svg").arg(ValidIndex(index)); }

QString SchemeIconResourcePath(int index, int size) {
    const QString suffix = size == 16 ? QString() : QStringLiteral("-%1").arg(size);
    return QStringLiteral(":/icons/scheme-%1%2.png").arg(ValidIndex(index)).arg(suffix);
}

QPixmap LoadSchemeIconPixmap(int index, int size, qreal ratio) {
    const int pixels = std::max(1, qRound(size * std::max(ratio, 1.0)));
    QPixmap drawn;
    if (IsDrawnSize(pixels)) {
        drawn = ReadPng(SchemeIconResourcePath(index, pixels));
    } else if (pixels < DrawnSizes.front()) {
        // Below the drawing's own grid whole pixels of the SVG would vanish.
        drawn = ReadPng(SchemeIconResourcePath(index, DrawnSizes.front()))
                    .scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else {
        drawn = RenderSvg(SchemeIconSvgPath(index), SchemeIconResourcePath(index, DrawnSizes.back()), pixels);
    }
    drawn.setDevicePixelRatio(static_cast<qreal>(pixels) / size);
    return drawn;
}

QIcon LoadSchemeIcon(int index) {
    QIcon icon;
    for (int size : DrawnSizes) icon.addPixmap(ReadPng(SchemeIconResourcePath(index, size)));
    return icon;
}

}  // namespace quenmark
