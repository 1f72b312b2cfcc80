// The segments a record is drawn with, and the box round an arc.
#include "RecordPolyline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr double kHalfPi = kTwoPi / 4.0;

// Whether an angle of phase + 2 k pi lies in [low, high].
bool Passes(double phase, double low, double high)
{
    return std::ceil((low - phase) / kTwoPi) <= std::floor((high - phase) / kTwoPi);
}

// The range of cos(angle - phase) over the angles [low, high]: its values
// at the ends, or 1 and -1 where the range passes them.
void RangeOfCosine(double phase, double low, double high, double& least, double& most)
{
    const double a = std::cos(low - phase), b = std::cos(high - phase);
    least = Passes(phase + kTwoPi / 2.0, low, high) ? -1.0 : std::min(a, b);
    most = Passes(phase, low, high) ? 1.0 : std::max(a, b);
}

void Widen(float* lower, float* upper, const float* point)
{
    for (int axis = 0; axis < 3; ++axis) {
        lower[axis] = std::min(lower[axis], point[axis]);
        upper[axis] = std::max(upper[axis], point[axis]);
    }
}

}  // namespace

void RecordPolyline::CutArc(const MoveRecord& record, ArcDirection direction, double tolerance)
{
    m_arc = ArcGeometry::Of(record, direction);
    if (!m_arc.isArc)
        return;
    // The sagitta is largest where the radius is.  A step of zero (no
    // tolerance) makes the division infinite, which the bound takes.
    const double radius = std::max(m_arc.startRadius, m_arc.endRadius);
    double step = kTwoPi / kMinSegmentsPerTurn;
    if (tolerance < radius)
        step = std::min(step, 2.0 * std::acos(1.0 - std::max(tolerance, 0.0) / radius));
    const double segments = std::ceil(std::fabs(m_arc.sweep) / step);
    m_segments = size_t(std::clamp(segments, 1.0, double(kMaxSegments)));
}

bool RecordPolyline::ArcBounds(const MoveRecord& record, ArcDirection direction, float* lower, float* upper)
{
    const ArcGeometry arc = ArcGeometry::Of(record, direction);
    if (!arc.isArc)
        return false;
    // In the program's frame, where the angles are.  A coordinate of the
    // arc is the centre's plus radius times the cosine (X) or the sine (Y)
    // of its angle; the radius goes from the start's to the end's, so the
    // larger one bounds it where the cosine is positive and the smaller
    // one where it is negative.
    const double low = std::min(arc.startAngle, arc.startAngle + arc.sweep);
    const double high = std::max(arc.startAngle, arc.startAngle + arc.sweep);
    const double largest = std::max(arc.startRadius, arc.endRadius);
    const double smallest = std::min(arc.startRadius, arc.endRadius);
    const auto span = [&](double centre, double phase, double& from, double& to) {
        double least, most;
        RangeOfCosine(phase, low, high, least, most);
        from = centre + (least <= 0.0 ? largest : smallest) * least;
        to = centre + (most >= 0.0 ? largest : smallest) * most;
    };
    double xFrom, xTo, yFrom, yTo;
    span(arc.centreX, 0.0, xFrom, xTo);
    span(arc.centreY, kHalfPi, yFrom, yTo);  // sin(a) = cos(a - pi / 2)
    // Stored Y is negated; the ends as stored, so that the box holds them
    // exactly.
    const float corners[2][3] = {{float(xFrom), float(-yTo), record.startZ}, {float(xTo), float(-yFrom), record.endZ}};
    const float start[3] = {record.startX, record.startY, record.startZ};
    const float end[3] = {record.endX, record.endY, record.endZ};
    std::copy_n(start, 3, lower);
    std::copy_n(start, 3, upper);
    for (const float* point : {corners[0], corners[1], end})
        Widen(lower, upper, point);
    return true;
}
