// The arc of a circular record, its length and its points.
#include "ArcGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// An end this far from the start's circle is a program error: 0.1 % of the
// radius, and never less than 0.002 (the coordinates' own rounding).
bool OffCircle(double startRadius, double endRadius)
{
    return std::fabs(endRadius - startRadius) > std::max(0.001 * startRadius, 0.002);
}

}  // namespace

ArcGeometry ArcGeometry::Of(const MoveRecord& r, ArcDirection direction)
{
    ArcGeometry arc;
    if (r.kind != 1 || direction == ARC_NONE)
        return arc;
    // The program's frame: Y as programmed.
    const double sx = r.startX, sy = -double(r.startY);
    const double ex = r.endX, ey = -double(r.endY);
    const double cx = r.centreX, cy = -double(r.centreY);
    arc.startRadius = std::hypot(sx - cx, sy - cy);
    if (!(arc.startRadius > 0.0) || !std::isfinite(arc.startRadius))
        return arc;  // no centre: the chord
    const double endRadius = std::hypot(ex - cx, ey - cy);
    if (!std::isfinite(endRadius))
        return arc;
    arc.isArc = true;
    arc.centreX = cx;
    arc.centreY = cy;
    arc.endRadius = endRadius;
    arc.endOffCircle = OffCircle(arc.startRadius, endRadius);
    arc.startZ = r.startZ;
    arc.endZ = r.endZ;
    arc.startAngle = std::atan2(sy - cy, sx - cx);
    const bool full = r.endX == r.startX && r.endY == r.startY;
    if (full) {
        arc.sweep = direction == ARC_CLOCKWISE ? -kTwoPi : kTwoPi;
        return arc;
    }
    // The turn from start to end in the arc's direction, in [0, 2 pi).
    const double endAngle = std::atan2(ey - cy, ex - cx);
    double turn = direction == ARC_CLOCKWISE ? arc.startAngle - endAngle : endAngle - arc.startAngle;
    turn = std::fmod(turn, kTwoPi);
    if (turn < 0.0)
        turn += kTwoPi;
    arc.sweep = direction == ARC_CLOCKWISE ? -turn : turn;
    return arc;
}

double ArcGeometry::Length() const
{
    const double along = Radius() * std::fabs(sweep);
    const double dz = endZ - startZ;
    return std::sqrt(along * along + dz * dz);
}

void ArcGeometry::PointAt(double t, float& x, float& y, float& z) const
{
    const double angle = startAngle + t * sweep;
    const double radius = startRadius + t * (endRadius - startRadius);
    x = float(centreX + radius * std::cos(angle));
    y = float(-(centreY + radius * std::sin(angle)));
    z = float(startZ + t * (endZ - startZ));
}

double MoveLength(const MoveRecord& record, ArcDirection direction)
{
    return MoveLength(record, ArcGeometry::Of(record, direction));
}

bool PlaceCentreByRadius(MoveRecord& r, ArcDirection direction, double radius)
{
    // The program's frame: Y as programmed.
    const double sx = r.startX, sy = -double(r.startY);
    const double ex = r.endX, ey = -double(r.endY);
    const double dx = ex - sx, dy = ey - sy;
    const double chord = std::hypot(dx, dy);
    if (!(chord > 0.0) || !std::isfinite(chord))
        return true;
    const double half = chord / 2.0;
    const double magnitude = std::fabs(radius);
    // The centre lies apothem away from the chord's middle, along the
    // chord's right-hand normal (dy, -dx) / chord or against it; on the
    // middle when the radius cannot reach.
    const double apothem = magnitude > half ? std::sqrt((magnitude - half) * (magnitude + half)) : 0.0;
    const bool right = (direction == ARC_CLOCKWISE) == (radius > 0.0);
    const double along = right ? apothem / chord : -apothem / chord;
    r.centreX = float((sx + ex) / 2.0 + along * dy);
    r.centreY = float(-((sy + ey) / 2.0 - along * dx));
    r.centreZ = r.startZ;
    return !(magnitude < half && OffCircle(half, magnitude));
}
