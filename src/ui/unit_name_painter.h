#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "definitions/unit_group_list.h"

class QPainter;
class QPoint;

namespace quenmark {

// One stretch of a unit name drawn in a single face, style and size.
struct TUnitNameRun {
    std::string Text;
    int Face = 0;        // entry of the unit file's font table
    int PointSize = 0;   // the name size, or half of it for raised text
    bool Bold = false;
    bool Italic = false;

    bool operator==(const TUnitNameRun&) const = default;
};

// The runs of a unit name with its tags, in drawing order. The name size is
// fontSize × 4 / 5, raised text half of that. "<b>", "<i>", "<u>" and
// "<fD>" (D a digit; a character above "9" means 0) switch bold, italic,
// raised small text and the face on; "</b>", "</i>", "</u>" and "</f>"
// switch them back; one tag may hold several letters. A "<" followed by a
// byte of a multi-byte character is text. A tag without its ">" ends the
// name, and so does an error (a face character below "0"): the runs before
// it are kept.
std::vector<TUnitNameRun> UnitNameRuns(std::string_view text, int fontSize);

// Draws the runs of the name with their top edge at the pen position, in
// the painter's pen colour, and moves the pen right by the width drawn.
void DrawUnitName(QPainter& canvas, QPoint& penPosition, std::string_view text,
                  const TCCUnitGroupList::FontTable& fonts, int fontSize);

// How far DrawUnitName moves the pen for the name.
int UnitNameWidth(std::string_view text, const TCCUnitGroupList::FontTable& fonts, int fontSize);
// The line height of a name drawn in the first face at the name size.
int UnitNameHeight(const TCCUnitGroupList::FontTable& fonts, int fontSize);

}  // namespace quenmark
