#pragma once

#include <QColor>
#include <QComboBox>
#include <QRect>

#include "app/color_schemes.h"

class QPainter;

namespace quenmark {

// Draws a colour scheme as the options dialog lists it, in rect: the
// background (highlight when selected), a sample box in the scheme's
// colours with a miniature of the calculator window, and the scheme's name
// in its dark colour right of it.
void DrawColorSchemeItem(QPainter& canvas, const QRect& rect, const TColorScheme& scheme, bool selected,
                         const QColor& background, const QColor& highlight);

// The selector of the colour schemes: the built-in schemes in table order,
// each item and the face drawn by DrawColorSchemeItem, 16 pixels per item.
class TColorSchemeComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;

    explicit TColorSchemeComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quenmark
