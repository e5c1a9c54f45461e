#pragma once

#include <cstdint>

#include "app/color.h"

class QColor;

namespace quenmark {

// The plain 0x00BBGGRR value: system colours are looked up in the palette,
// the high byte of an explicit colour is dropped.
TColor ColorToRGB(TColor color);

// The RGB complement used for text on a pushed face: the low 24 bits
// inverted and marked palette-relative.
TColor ComplementColor(TColor color);

// The one place where a colour reference becomes a Qt colour.
QColor ToQColor(TColor color);

// The colour reference of a Qt colour (opaque, no marker).
TColor FromQColor(const QColor& color);

}  // namespace quenmark
