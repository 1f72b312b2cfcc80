// Colour runs: what a line's parser hands the text view to draw.  Shared by
// the view and by the language parsers, which need nothing of Qt.
#pragma once

#include <cstdint>

// Colour slots of the drawing code and of ColouriseLine.
enum ColourIndex : int
{
    ColourEmptyArea = 0,
    ColourBackground,
    ColourNormalText,
    ColourMargin,
    ColourSelBackground,
    ColourSelText,
    ColourKeyword,
    ColourComment,
    ColourNumber,
    ColourOperator,
    ColourString,
    ColourDirective,
};

// A colour run of a line: from byte CharPos to the next block's CharPos.
struct ColourBlock
{
    int CharPos;
    int ColourIndex;
};

// Parser state carried from one line to the next; the view never reads it.
using ParseCookie = uint32_t;
