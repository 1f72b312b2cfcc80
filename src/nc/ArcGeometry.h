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
#pragma once

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

// The length a record cuts: its arc, or its chord.
double MoveLength(const MoveRecord& record, ArcDirection direction);
