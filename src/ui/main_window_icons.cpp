#include "ui/main_window_icons.h"

#include "app/color_schemes.h"
#include "ui/color_ref.h"

#include <QPainter>

namespace quenmark {

static_assert(SchemeIconCount == static_cast<int>(ColorSchemeCount), "one icon per colour scheme");

namespace {

// Drawn on a 16 x 16 grid and scaled: the frame, the title stripes, the
// separator above the input row and the ">" prompt.
void PaintMiniature(QPainter& painter, const TColorScheme& scheme) {
    const QColor base = ToQColor(scheme.BaseColor);
    const QColor dark = ToQColor(scheme.DarkColor);
    const QColor text = ToQColor(scheme.TextColor);
    painter.setPen(QPen(dark, 1));
    painter.setBrush(base);
    painter.drawRect(QRectF(0.5, 1.5, 15, 13));
    for (double y : {3.5, 5.5}) painter.drawLine(QPointF(3, y), QPointF(13, y));
    painter.drawLine(QPointF(1, 7.5), QPointF(15, 7.5));
    painter.setPen(QPen(text, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(3, 9.5), QPointF(5.5, 11), QPointF(3, 12.5)}));
    painter.drawLine(QPointF(7.5, 12.5), QPointF(12.5, 12.5));
}

}  // namespace

QPixmap SchemeIconPixmap(int index, int size) {
    if (index < 0 || index >= SchemeIconCount) index = 0;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, size > 16);
    painter.scale(size / 16.0, size / 16.0);
    PaintMiniature(painter, ColorSchemes()[static_cast<size_t>(index)]);
    return pixmap;
}

QIcon SchemeIcon(int index) {
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(SchemeIconPixmap(index, size));
    return icon;
}

}  // namespace quenmark
