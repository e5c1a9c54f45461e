#include "ui/color_ref.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace quenmark {

namespace {

// The palette role that stands for a system colour index. Indices without a
// counterpart fall back to the window colour.
QPalette::ColorRole SystemColorRole(unsigned index) {
    switch (index) {
    case 5: return QPalette::Base;
    case 6: return QPalette::WindowText;
    case 8: return QPalette::Text;
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;
    case 16: return QPalette::Mid;
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;
    default: return QPalette::Window;
    }
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) {
        return FromQColor(QApplication::palette().color(SystemColorRole(color & 0xFFu)));
    }
    return color & 0x00FFFFFFu;
}

TColor ComplementColor(TColor color) {
    return (~ColorToRGB(color) & 0x00FFFFFFu) | PaletteRelativeFlag;
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(static_cast<int>(rgb & 0xFFu), static_cast<int>((rgb >> 8) & 0xFFu),
                  static_cast<int>((rgb >> 16) & 0xFFu));
}

TColor FromQColor(const QColor& color) {
    return RGBColor(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
                    static_cast<unsigned>(color.blue()));
}

}  // namespace quenmark
