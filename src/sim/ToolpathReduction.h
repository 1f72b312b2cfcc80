// Lighter copies of the toolpath for the frames drawn while the user turns,
// pans or zooms the view.  Mesa's software renderer spends about 0.1 us on
// every segment and 30 to 60 ns on every pixel of it (rapids cost the most:
// the stipple cuts them into one primitive per dot), so an exact frame of a
// million records takes 300 ms or more and cannot follow the mouse.  A
// level of the reduction can, and the exact picture comes back when the
// mouse rests.
//
// A level keeps a record's segment only if it passes through a cell of a
// grid laid over the toolpath that no segment kept before it passed
// through; the kept segments are drawn as they are, with their own colours.
// So every cell the toolpath touches still shows a line, where it is, in
// the colour of a record that went through it, while the overdraw - a
// pocket cleared pass after pass, the next part on the fixture in the same
// place, twenty depths of cut seen from above - is gone.  A level never has
// more segments than its grid has cells, whatever the record count.  On
// the benchmark's program of a million records (11 million pixels of lines
// on a pane of half a million at zoom all) the level of 128 cells keeps
// 23 thousand segments and 1 million pixels, and still looks like the
// whole; at 3.5 million records it keeps 30 thousand.
//
// The grid has cubic cells and kFinestResolution of them along the largest
// extent (a cell is about a pixel when the part fills a pane 500 pixels
// high); each further level halves the resolution, down to
// kCoarsestResolution.  The segments are the exact arrays' own, so an arc
// comes as the segments of its polyline, each kept or dropped on its own.
// A coarser level is made from the segments the finer one kept rather than
// from every record: whatever a dropped segment crossed, segments before
// it had crossed, and they cross the same coarser cells, so the result is
// the same (but for lines that run along cell faces, where rounding picks
// a side) at a fraction of the cost.  The grids
// depend on the extents alone, not on the view, so the levels are built
// once per move list; a frame picks the finest level whose estimated cost
// fits its budget (FrameCost), a few multiplications per level.
//
// Within a level the segments are grouped by colour, so that a frame is at
// most eleven draw calls, and each group keeps the order of the records;
// every segment knows its record (an arc's segments all know the arc's),
// so a level can be drawn up to a record (the simulation's prefix).  The grouping changes which of two segments at
// the same depth wins a pixel, which does not matter for a picture that is
// replaced when the mouse rests.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ToolpathBatch.h"

class ToolpathReduction
{
public:
    static constexpr uint32_t kFinestResolution = 512;
    static constexpr uint32_t kCoarsestResolution = 16;
    // What the software renderer takes, measured on a two-core machine at
    // the benchmark's isometric view: per segment, and per pixel of a solid
    // and of a stippled line, pixels counted as the segment's length times
    // the scale (the projection only shortens it).
    static constexpr double kSegmentMicroseconds = 0.1;
    static constexpr double kPixelMicroseconds = 0.03;
    static constexpr double kStipplePixelMicroseconds = 0.06;

    // Builds the levels from the exact arrays: at least one, empty for an
    // empty list.  Returns null when *cancel turned true on the way (the
    // caller no longer wants it).  Safe on any thread while nothing changes
    // the batch.
    static std::unique_ptr<ToolpathReduction> Build(const ToolpathBatch& batch,
                                                    const std::atomic<bool>* cancel = nullptr);

    size_t RecordCount() const { return m_records; }
    // The box of every finite vertex; empty (lower above upper) when there
    // is none.
    const float* Lower() const { return m_lower; }
    const float* Upper() const { return m_upper; }
    size_t LevelCount() const { return m_levels.size(); }
    size_t SegmentCount(size_t level) const { return m_levels[level].records.size(); }
    // Cells along the largest extent.
    uint32_t Resolution(size_t level) const { return m_levels[level].resolution; }
    // Edge of a cell in program units.
    double CellSize(size_t level) const { return m_levels[level].cell; }

    // The estimated time of drawing a level (or, with kExact, every segment
    // of every record)
    // at scale pixels per program unit when the given fraction of the
    // toolpath is on the screen: every segment is transformed and clipped,
    // only the part on the screen is rasterised.  The lengths are the
    // segments' own, which no projection makes longer.
    static constexpr size_t kExact = static_cast<size_t>(-1);
    double FrameCost(size_t level, double scale, double visible = 1.0) const;
    // The finest level that fits budget microseconds, kExact when every
    // record does, or the coarsest level when none fits.
    size_t LevelFor(double budget, double scale, double visible = 1.0) const;

    // Draws the level's segments that come from the first records records
    // under the current matrices; returns how many it drew.
    size_t Draw(size_t level, size_t records) const;

    // Calls visit(record, colour, start, end) for every segment of a level,
    // colour after colour; start and end point at three floats, the
    // record's own values.
    template <class Visit>
    void ForEachSegment(size_t level, Visit&& visit) const
    {
        const Level& l = m_levels[level];
        for (int c = 0; c < kColours; ++c)
            for (size_t s = l.colourStart[c]; s < l.colourStart[c + 1]; ++s)
                visit(size_t(l.records[s]), c, &l.vertices[s * 6], &l.vertices[s * 6 + 3]);
    }

private:
    static constexpr int kColours = kRapidColour + 1;

    // Lengths in program units.
    struct Lengths
    {
        double feed = 0.0;
        double rapid = 0.0;
    };

    struct Level
    {
        uint32_t resolution = 0;
        double cell = 0.0;
        std::vector<float> vertices;  // two xyz per segment, as GL_LINES
        // The record of each segment.  32 bits are plenty: a list of 2^32
        // records would take 240 GB.
        std::vector<uint32_t> records;
        // Segments of colour c are [colourStart[c], colourStart[c + 1]).
        std::array<size_t, kColours + 1> colourStart{};
        Lengths lengths;
    };
    friend class ReductionBuilder;

    double Cost(size_t segments, const Lengths& lengths, double scale, double visible) const;

    std::vector<Level> m_levels;
    size_t m_records = 0;
    size_t m_exactSegments = 0;
    Lengths m_exactLengths;
    float m_lower[3] = {1.0f, 1.0f, 1.0f};
    float m_upper[3] = {0.0f, 0.0f, 0.0f};
};
