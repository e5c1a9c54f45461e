#include "ui/options_dialog_contact.h"

#include <QFont>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace quenmark {

TContactLabel::TContactLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

void TContactLabel::SetLinkText(const QString& text) {
    FLinkText = text;
    setText(text);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, colors.color(QPalette::Link));
    setPalette(colors);
}

void TContactLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

QPixmap ContactBanner(const QString& caption, const QColor& base, const QColor& dark, QSize size) {
    QPixmap banner(size);
    QPainter painter(&banner);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, dark);
    band.setColorAt(1, base);
    painter.fillRect(banner.rect(), band);
    painter.setPen(dark);
    painter.drawRect(banner.rect().adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(size.height() / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(base);
    painter.drawText(banner.rect().adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
    return banner;
}

}  // namespace quenmark
