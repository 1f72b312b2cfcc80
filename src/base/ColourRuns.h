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

// Where the parse of a line stands between two bytes: enough to go on from
// there.  The text view keeps these at points along a long line and resumes
// the parse from the nearest one, so that drawing the far end of the line
// parses only the bytes around what it shows.  The view compares states and
// reads colour and lookBehind; the rest is the parse's own.
struct LineParseState
{
    ParseCookie cookie = 0;              // the state bits, as a cookie holds them
    uint32_t flags = 0;                  // what else the parse carries within a line
    int32_t lookBehind = 0;              // bytes before this point the parse reads again (an open word)
    int32_t colour = ColourNormalText;   // the colour of the run in effect here

    friend bool operator==(const LineParseState&, const LineParseState&) = default;
};
