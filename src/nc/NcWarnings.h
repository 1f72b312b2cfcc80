// What an interpretation passed over that a real control would act on: the
// lines holding such words, the first of them, and how many lines hold each
// kind.  The information pane and tornel-info report it, so that figures of
// a program the interpreter could not read are not taken at face value.
//
// Only text outside comments counts (not inside parentheses, not after a
// semicolon, not on the lines of a comment that spans lines): comments are
// free text, and programmers write "X 3" or "#1" in them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

enum NcWarningKind : uint8_t
{
    WARNING_LOWERCASE,  // g x y z i j k f t followed by a digit, '-' or '.'
    WARNING_SPACED,  // G X Y Z I J K F T, then blanks before the number
    WARNING_PLUS,  // the same letters, then '+' before the number
    WARNING_PARAMETER,  // '#'
    WARNING_EXPRESSION,  // '['
    WARNING_DWELL,  // G04: a pause the time leaves out
    WARNING_PLANE,  // G18, G19: arcs in another plane
    WARNING_INCH,  // G20
    WARNING_MACHINE_POSITION,  // G28, G53: moves to positions of the machine's own
    WARNING_COMPENSATION,  // G41, G42: the path is offset by the cutter radius
    WARNING_ROTATION,  // G68
    WARNING_CANNED_CYCLE,  // G81 to G89
    WARNING_SUBPROGRAM,  // M98
    WARNING_O_WORD,  // O or o, a number, then call, sub, if, while, do or repeat
    WARNING_RADIUS_TOO_SMALL,  // an R shorter than half the chord
    WARNING_END_OFF_CIRCLE,  // an arc whose end is not on its circle
    WARNING_NO_CENTRE,  // a circular move without I, J or R
    WARNING_KIND_COUNT
};

// The kinds of one line, one bit each.
using NcWarningMask = uint32_t;
static_assert(WARNING_KIND_COUNT <= 32);

constexpr NcWarningMask WarningBit(NcWarningKind kind)
{
    return NcWarningMask(1) << kind;
}

// The short, stable name tornel-info reports a kind by ("lowercase",
// "canned_cycle", ...).
std::string_view NcWarningKindName(NcWarningKind kind);

struct NcWarnings
{
    int lines = 0;       // lines holding at least one kind
    int firstLine = -1;  // zero-based index of the first of them; -1 when none
    std::array<int, WARNING_KIND_COUNT> kinds{};  // lines holding each kind

    bool Any() const { return lines > 0; }
    // Counts line, which holds the kinds in mask (at least one); lines come
    // in order, so the first one counted is the first line.
    void AddLine(int line, NcWarningMask mask);
};
