// The polyline the simulation draws a move record as: its straight segment,
// or for a circular record its arc (a helix when Z changes) cut into
// segments that stay within a tolerance of the true arc.  The vertex
// arrays, the per-record drawing and the pick all draw a record through
// this class, so that they draw the very same vertices: the arrays and the
// per-record drawing stay pixel for pixel the same, and a pick hits what is
// on the screen.
//
// A segment of angle a on a circle of radius r strays r (1 - cos(a / 2))
// from the arc at its middle (the sagitta).  Each arc gets the fewest equal
// segments that keep that under the tolerance, so a small corner radius
// costs a segment or two and a large circle what it needs.  The view takes
// the tolerance from the toolpath's extents (ToleranceForExtent), once per
// move list, since the arrays are built once per move list.
//
// The first vertex is the record's start and the last its end, as stored,
// not recomputed from the arc: consecutive records meet bit for bit, which
// the arrays' line strips rely on, and the drawing ends where playback puts
// the tool.
#pragma once

#include <cstddef>

#include "ArcGeometry.h"
#include "MoveRecord.h"

class RecordPolyline
{
public:
    // The tolerance is this share of the largest extent.  At zoom all the
    // scale is 0.95 * m / extent pixels per unit on a pane whose shorter
    // side is m pixels, so the arcs stray from the true ones by at most
    // 0.95 * m / 4000 pixels: under a pixel on a pane up to 4000 pixels,
    // and still under a pixel zoomed in 8 times on a pane of 500.  On the
    // generated program of a million records (13 thousand arcs, radii 1 to
    // 23 on an extent of 160) this adds 143 thousand segments, 14 % more
    // than the chords.  A fixed angle costs more for less: 10 degrees a
    // segment adds 174 thousand and strays twice as far on the largest
    // arcs, 5 degrees adds 361 thousand.
    static constexpr double kExtentPerTolerance = 4000.0;
    // At least four segments for a whole turn, so that a circle smaller
    // than the tolerance is still round rather than a line; and at most
    // 1024 segments a record, however small the tolerance (zero when every
    // extent is zero) or large the radius (a rapid arc, which the extents
    // leave out, may be far larger than they are).
    static constexpr int kMinSegmentsPerTurn = 4;
    static constexpr int kMaxSegments = 1024;

    static double ToleranceForExtent(double extent) { return extent / kExtentPerTolerance; }

    // A straight record, or a circular one without an arc (no centre, or
    // no direction), is one segment from its start to its end.  Most
    // records are straight: they cost no more than copying their ends.
    RecordPolyline(const MoveRecord& record, ArcDirection direction, double tolerance)
        : m_start{record.startX, record.startY, record.startZ}, m_end{record.endX, record.endY, record.endZ}
    {
        if (record.kind == 1 && direction != ARC_NONE)
            CutArc(record, direction, tolerance);
    }

    bool IsArc() const { return m_arc.isArc; }
    size_t SegmentCount() const { return m_segments; }
    // Vertex i of SegmentCount() + 1 into xyz, in stored coordinates.
    void Vertex(size_t i, float* xyz) const
    {
        const float* end = i == 0 ? m_start : i >= m_segments ? m_end : nullptr;
        if (end) {
            xyz[0] = end[0], xyz[1] = end[1], xyz[2] = end[2];
        } else {
            m_arc.PointAt(double(i) / double(m_segments), xyz[0], xyz[1], xyz[2]);
        }
    }

    // Puts into lower and upper the box round what the record draws when
    // it is an arc: its ends, and the points at 0, 90, 180 and 270 degrees
    // on its circle that it passes.  The box holds every vertex of its
    // polyline and so the segments between them; for an end off the
    // circle, whose points go from the one radius to the other, it takes
    // the larger radius where that reaches further.  Returns false, and
    // leaves lower and upper alone, for a record drawn as one straight
    // segment.
    static bool ArcBounds(const MoveRecord& record, ArcDirection direction, float* lower, float* upper);

private:
    void CutArc(const MoveRecord& record, ArcDirection direction, double tolerance);

    float m_start[3];
    float m_end[3];
    ArcGeometry m_arc;
    size_t m_segments = 1;
};
