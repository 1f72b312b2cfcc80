// The arc a circular record cuts: where it starts, which way and how far it
// turns around its centre, and its length.  The interpreter measures arcs
// with it and the simulation draws them with it, so both see one arc.
//
// Angles are taken in the program's own frame (Y as programmed, which is
// the stored Y negated), where G02 turns clockwise and G03 counter-
// clockwise seen from +Z.  An arc whose end lies where its start lies (in X
// and Y) is a full circle.  The radius is the start's distance from the
// centre; a program whose end is off that circle (beyond a tolerance) gets
// the mean of the two radii for its length, and its points go from the one
// radius to the other, so that the drawing still ends at the record's end.
// A circular record whose centre is its start (no I, J or R) has no arc: it
// is measured and drawn as its chord.
//
// A line may give its arc by a radius R instead of I and J; the centre is
// then placed here too, so that the record holds it like any other.
#pragma once

#include <cmath>

#include "MoveRecord.h"

struct ArcGeometry
{
    bool isArc = false;         // false: measure and draw the chord
    double centreX = 0.0;       // program frame
    double centreY = 0.0;
    double startAngle = 0.0;    // radians, program frame
    double sweep = 0.0;         // radians: below zero clockwise, above counter-clockwise
    double startRadius = 0.0;
    double endRadius = 0.0;
    double startZ = 0.0;
    double endZ = 0.0;
    bool endOffCircle = false;  // the end's radius differs beyond the tolerance

    // The arc of a circular record turning in direction; no arc for a
    // straight record or one without a centre.
    static ArcGeometry Of(const MoveRecord& record, ArcDirection direction);

    // The radius the length is measured with.
    double Radius() const { return endOffCircle ? (startRadius + endRadius) / 2.0 : startRadius; }
    // The length along the arc, with the Z change as a helix.
    double Length() const;
    // The point at fraction t (0 at the start, 1 at the end) of the turn,
    // in stored coordinates (Y negated), as a record's points are.
    void PointAt(double t, float& x, float& y, float& z) const;
};

// The square of the straight distance from a record's start to its end.
// The squares are summed from Z to X, and the statistics of straight moves
// depend on that order to the last bit.
inline double ChordSquared(const MoveRecord& r)
{
    const double dz = double(r.endZ) - double(r.startZ);
    const double dy = double(r.endY) - double(r.startY);
    const double dx = double(r.endX) - double(r.startX);
    return dz * dz + dy * dy + dx * dx;
}

// The straight distance from a record's start to its end.
inline double ChordLength(const MoveRecord& r)
{
    return std::sqrt(ChordSquared(r));
}

// The length a record cuts: its arc, or its chord.
double MoveLength(const MoveRecord& record, ArcDirection direction);
// The same, for a record whose arc is already known.
inline double MoveLength(const MoveRecord& record, const ArcGeometry& arc)
{
    return arc.isArc ? arc.Length() : ChordLength(record);
}

// Sets the centre of a circular record that its line gave by a radius
// instead of I and J.  radius > 0 takes the arc of at most half a turn,
// radius < 0 the longer one: seen along the chord from start to end, the
// centre of a clockwise arc with radius > 0 (and of a counter-clockwise one
// with radius < 0) is on the right.  The centre's Z is the start's.
// Returns false when the radius is shorter than half the chord beyond the
// tolerance of an end off the circle; the centre is then the chord's
// middle.  An end that lies on the start in X and Y gives no circle to
// place: the record is left with its centre at the start.
bool PlaceCentreByRadius(MoveRecord& record, ArcDirection direction, double radius);
