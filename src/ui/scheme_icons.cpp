#include "ui/scheme_icons.h"

#include <QImageReader>

#include <array>

#include "app/color_schemes.h"

namespace quenmark {

namespace {

constexpr std::array<int, 3> DrawnSizes = {16, 32, 48};

int ValidIndex(int index) { return index >= 0 && index < static_cast<int>(ColorSchemeCount) ? index : 0; }

// The smallest drawn size that is not smaller than size; the largest one
// when size exceeds them all.
int DrawnSizeFor(int size) {
    for (int drawn : DrawnSizes)
        if (drawn >= size) return drawn;
    return DrawnSizes.back();
}

// The artwork is PNG: reading it as such skips the probing of every image
// format plugin by content, which would load all of them at start-up.
QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

QString SchemeIconResourcePath(int index, int size) {
    const QString suffix = size == 16 ? QString() : QStringLiteral("-%1").arg(size);
    return QStringLiteral(":/icons/scheme-%1%2.png").arg(ValidIndex(index)).arg(suffix);
}

QPixmap LoadSchemeIconPixmap(int index, int size) {
    const QPixmap drawn = ReadPng(SchemeIconResourcePath(index, DrawnSizeFor(size)));
    if (drawn.isNull() || drawn.width() == size) return drawn;
    return drawn.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QIcon LoadSchemeIcon(int index) {
    QIcon icon;
    for (int size : DrawnSizes) icon.addPixmap(ReadPng(SchemeIconResourcePath(index, size)));
    return icon;
}

}  // namespace quenmark
