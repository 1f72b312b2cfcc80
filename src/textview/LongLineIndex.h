// What the text view knows at points along one long line, so that no
// question about it - the column of a byte, the byte at a column, where the
// GBK pairs fall, how the colouring parse stands - costs a walk from the
// line's start.
//
// The line is cut into segments of a few KiB.  A segment keeps how its bytes
// move the column and the GBK pairing in a form that does not depend on where
// it starts: its length, where its first tab is and the columns after that
// tab's stop (a tab stop forgets the column's past), and whether a lead waits
// for its trail at its end for either answer at its start.  So an edit
// rescans the segments it touches and the others just move along; one pass
// over the segments (thousands for megabytes) then gives the column and
// pairing at each segment's start, and any question walks at most one
// segment from there.
//
// The parse state at each segment's start is found lazily, parsing forward
// from the last one known.  After an edit the states beyond it are kept as
// they were, marked old: the parse, run on from the edit, takes them back as
// soon as it arrives at one in the same state (the bytes after it being the
// same, so is everything after).  Typing therefore parses a segment or so,
// not the rest of the line; only a change that alters how the rest of the
// line parses (an opened comment) parses on until the states agree again.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "ColourRuns.h"
#include "LinePoint.h"

class LongLineIndex
{
public:
    // Bytes per segment, between one and two times this after edits.
    static constexpr int kSegmentBytes = 4096;

    LongLineIndex(std::string_view line, int tabWidth);

    int Length() const { return m_length; }
    int EndColumn() const { return m_endColumn; }
    int SegmentCount() const { return int(m_segments.size()); }

    // The start of the segment holding byte (the last one for the line's
    // end).
    LinePoint PointAtOrBefore(int byte) const;
    // The start of the last segment whose column is below column: no byte
    // before it ends at or past column.  The line's start for column <= 1.
    LinePoint PointBeforeColumn(int column) const;

    // Bytes [at, at + removed) of the line became inserted bytes; line is
    // the text now.
    void Replace(std::string_view line, int at, int removed, int inserted);

    // Parses bytes [from, to) on from state (LineParseState at from).
    using Advance = std::function<void(LineParseState& state, int from, int to)>;
    // The parse state at the start of the segment holding byte, for the line
    // entered with cookie entry; at is set to that start.
    LineParseState StateAtOrBefore(int byte, ParseCookie entry, const Advance& advance, int& at);
    // The cookie the next line starts with.
    ParseCookie EndCookie(ParseCookie entry, const Advance& advance);

private:
    enum class StateKind : uint8_t { Unknown, Old, Known };

    struct Segment
    {
        int length = 0;
        int firstTab = -1;         // offset of the first tab, -1 when none
        int columnsAfterTab = 0;   // columns from that tab's stop to the end
        bool pendingOut[2] = {};   // a lead waits at the end, for no / a lead waiting at the start
        LinePoint start;           // byte, column and pairing at the start
        LineParseState state;      // the parse before the first byte
        StateKind kind = StateKind::Unknown;
    };

    // Segments for bytes [begin, end) of line, between one and two times
    // kSegmentBytes each (fewer bytes make one).
    std::vector<Segment> Scan(std::string_view line, int begin, int end) const;
    int ColumnAfter(const Segment& segment, int column) const;
    // Starts of the segments from first on, and the end column.
    void Place(size_t first);
    size_t SegmentOf(int byte) const;
    void SetEntry(ParseCookie entry);
    void EnsureState(size_t segment, const Advance& advance);

    int m_tabWidth;
    int m_length = 0;
    int m_endColumn = 0;
    std::vector<Segment> m_segments;
    // Parse states: the entry cookie they start from; segments below
    // m_statesKnown are known; old states are right again once the parse
    // agrees with one whose open word lies after m_dirtyEnd, where the bytes
    // are as they were when the old states were found.
    ParseCookie m_entry = 0;
    int m_statesKnown = 0;
    int m_dirtyEnd = 0;
};
