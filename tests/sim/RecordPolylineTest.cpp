// The polyline a record is drawn as, without drawing: an arc's vertices on
// its arc, as few as the tolerance allows, ending on the record's own
// points; one segment for what has no arc; and the box round an arc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "RecordPolyline.h"
#include "SimFixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Point
{
    double x, y, z;  // program frame: Y as programmed
};

std::vector<Point> Vertices(const RecordPolyline& polyline)
{
    std::vector<Point> points;
    for (size_t i = 0; i <= polyline.SegmentCount(); ++i) {
        float v[3];
        polyline.Vertex(i, v);
        points.push_back({v[0], -double(v[1]), v[2]});
    }
    return points;
}

bool SameBits(const float* a, const float* b)
{
    return std::memcmp(a, b, 3 * sizeof(float)) == 0;
}

// An arc of the given turn (radians, below zero clockwise) on a circle in
// the program frame, from the start angle, with Z going from z0 to z1;
// the end's radius may differ from the start's.
MoveRecord Turn(double cx, double cy, double radius, double from, double turn, double z0 = 0.0, double z1 = 0.0,
                double endRadius = -1.0)
{
    if (endRadius < 0.0)
        endRadius = radius;
    const double to = from + turn;
    MoveRecord record = ArcSegment(1, float(cx + radius * std::cos(from)), float(cy + radius * std::sin(from)),
                                   float(z0), float(cx + endRadius * std::cos(to)),
                                   float(cy + endRadius * std::sin(to)), float(z1), float(cx), float(cy));
    if (std::fabs(std::fabs(turn) - 2.0 * kPi) < 1e-9) {
        record.endX = record.startX;  // a whole turn ends where it started
        record.endY = record.startY;
    }
    return record;
}

ArcDirection Way(double turn)
{
    return turn < 0.0 ? ARC_CLOCKWISE : ARC_COUNTERCLOCKWISE;
}

TEST(RecordPolylineTest, AnArcIsCutIntoTheFewestSegmentsThatStayWithinTheTolerance)
{
    struct Case
    {
        const char* what;
        MoveRecord record;
        double turn, tolerance;
    };
    const std::vector<Case> cases = {
        {"quarter, counter-clockwise", Turn(5, -3, 40, 0.3, kPi / 2), kPi / 2, 0.05},
        {"quarter, clockwise", Turn(5, -3, 40, 0.3, -kPi / 2), -kPi / 2, 0.05},
        {"three quarters, clockwise", Turn(0, 0, 10, kPi, -1.5 * kPi), -1.5 * kPi, 0.01},
        {"full circle, counter-clockwise", Turn(-20, 7, 25, 1.0, 2 * kPi), 2 * kPi, 0.02},
        {"full circle, clockwise", Turn(-20, 7, 25, 1.0, -2 * kPi), -2 * kPi, 0.02},
        {"helix turn", Turn(3, 3, 12, -2.0, 2 * kPi, 5, -3), 2 * kPi, 0.005},
        {"large radius, small turn", Turn(0, 0, 2000, 1.0, 0.05, 1, 2), 0.05, 0.01},
        {"end off the circle", Turn(0, 0, 30, 0.0, kPi, 0, 0, 33), kPi, 0.03},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MoveRecord& r = c.record;
        const RecordPolyline polyline(r, Way(c.turn), c.tolerance);
        ASSERT_TRUE(polyline.IsArc());
        const size_t n = polyline.SegmentCount();
        ASSERT_GE(n, 2u);
        // The ends are the record's own, bit for bit.
        float first[3], last[3];
        polyline.Vertex(0, first);
        polyline.Vertex(n, last);
        const float start[3] = {r.startX, r.startY, r.startZ}, end[3] = {r.endX, r.endY, r.endZ};
        EXPECT_TRUE(SameBits(first, start));
        EXPECT_TRUE(SameBits(last, end));

        const std::vector<Point> points = Vertices(polyline);
        const double cx = r.centreX, cy = -double(r.centreY);
        const double r0 = std::hypot(points.front().x - cx, points.front().y - cy);
        const double r1 = std::hypot(points.back().x - cx, points.back().y - cy);
        const double angle0 = std::atan2(points.front().y - cy, points.front().x - cx);
        double worst = 0.0;
        for (size_t i = 0; i <= n; ++i) {
            const double t = double(i) / double(n);
            const Point& p = points[i];
            // On the arc, an equal share of the turn further each time: so
            // the right way round, and evenly.
            const double expected = angle0 + t * c.turn;
            const double radius = r0 + t * (r1 - r0);
            EXPECT_NEAR(p.x, cx + radius * std::cos(expected), 1e-3 * std::max(1.0, radius / 100)) << i;
            EXPECT_NEAR(p.y, cy + radius * std::sin(expected), 1e-3 * std::max(1.0, radius / 100)) << i;
            EXPECT_NEAR(p.z, r.startZ + t * (double(r.endZ) - r.startZ), 1e-5) << i;
            if (i == 0)
                continue;
            // The sagitta: how far inside the arc the segment's middle is.
            const Point& q = points[i - 1];
            const double middle = std::hypot((p.x + q.x) / 2 - cx, (p.y + q.y) / 2 - cy);
            const double radiusThere = r0 + (t - 0.5 / double(n)) * (r1 - r0);
            worst = std::max(worst, radiusThere - middle);
        }
        // Beyond the tolerance only by the rounding of the float vertices.
        const double rounding = 4.0 * FLT_EPSILON * (std::fabs(cx) + std::fabs(cy) + std::max(r0, r1));
        EXPECT_LE(worst, c.tolerance + rounding);
        // One segment fewer would stray too far.
        const double larger = std::max(r0, r1);
        EXPECT_GT(larger * (1.0 - std::cos(std::fabs(c.turn) / (2.0 * double(n - 1)))), c.tolerance);
    }
}

TEST(RecordPolylineTest, SegmentCountsAreBoundedWhateverTheToleranceAndRadius)
{
    const MoveRecord circle = Turn(0, 0, 10, 0.0, 2 * kPi);
    const MoveRecord quarter = Turn(0, 0, 10, 0.0, kPi / 2);
    // No tolerance at all, or one below zero: the finest cut, and no
    // endless one; so too for a radius far beyond the tolerance.
    for (const double tolerance : {0.0, -1.0})
        EXPECT_EQ(RecordPolyline(circle, ARC_COUNTERCLOCKWISE, tolerance).SegmentCount(),
                  size_t(RecordPolyline::kMaxSegments));
    EXPECT_EQ(RecordPolyline(Turn(0, 0, 1e7, 0.0, kPi), ARC_COUNTERCLOCKWISE, 0.01).SegmentCount(),
              size_t(RecordPolyline::kMaxSegments));
    // A radius far below the tolerance is still a round shape, not a line.
    EXPECT_EQ(RecordPolyline(circle, ARC_CLOCKWISE, 100.0).SegmentCount(),
              size_t(RecordPolyline::kMinSegmentsPerTurn));
    EXPECT_EQ(RecordPolyline(quarter, ARC_COUNTERCLOCKWISE, 100.0).SegmentCount(), 1u);
    // The long way round the same ends takes three times the turn.
    const size_t shortWay = RecordPolyline(quarter, ARC_COUNTERCLOCKWISE, 0.01).SegmentCount();
    const size_t longWay = RecordPolyline(quarter, ARC_CLOCKWISE, 0.01).SegmentCount();
    EXPECT_GT(longWay, 3 * (shortWay - 1));
    EXPECT_LE(longWay, 3 * shortWay);
}

TEST(RecordPolylineTest, WhatHasNoArcIsOneSegmentFromStartToEnd)
{
    MoveRecord straight = Segment(3, 1, -2, 3, 40, -50, 6);
    MoveRecord noCentre = straight;  // G02 without I, J or R: the centre is the start
    noCentre.kind = 1;
    MoveRecord noDirection = Turn(0, 0, 10, 0.0, kPi / 2);
    const struct
    {
        const char* what;
        MoveRecord record;
        ArcDirection direction;
    } cases[] = {
        {"straight", straight, ARC_NONE},
        {"no centre", noCentre, ARC_CLOCKWISE},
        {"no direction", noDirection, ARC_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordPolyline polyline(c.record, c.direction, 0.001);
        EXPECT_FALSE(polyline.IsArc());
        ASSERT_EQ(polyline.SegmentCount(), 1u);
        float first[3], last[3];
        polyline.Vertex(0, first);
        polyline.Vertex(1, last);
        const float start[3] = {c.record.startX, c.record.startY, c.record.startZ};
        const float end[3] = {c.record.endX, c.record.endY, c.record.endZ};
        EXPECT_TRUE(SameBits(first, start));
        EXPECT_TRUE(SameBits(last, end));
        float lower[3] = {7, 7, 7}, upper[3] = {7, 7, 7};
        EXPECT_FALSE(RecordPolyline::ArcBounds(c.record, c.direction, lower, upper));
        EXPECT_EQ(lower[0], 7.0f);
        EXPECT_EQ(upper[2], 7.0f);
    }
}

TEST(RecordPolylineTest, TheBoxOfAnArcHoldsItAndNoMore)
{
    float lower[3], upper[3];
    // Half a circle clockwise from (-40, 0) over the top to (40, 0): the
    // box reaches up to program Y 40 (stored -40), past both ends.
    ASSERT_TRUE(RecordPolyline::ArcBounds(Turn(0, 0, 40, kPi, -kPi, 2, -1), ARC_CLOCKWISE, lower, upper));
    EXPECT_NEAR(lower[0], -40.0f, 1e-4);
    EXPECT_NEAR(upper[0], 40.0f, 1e-4);
    EXPECT_NEAR(lower[1], -40.0f, 1e-4);
    EXPECT_NEAR(upper[1], 0.0f, 1e-4);
    EXPECT_FLOAT_EQ(lower[2], -1.0f);
    EXPECT_FLOAT_EQ(upper[2], 2.0f);
    // The same ends the other way: under them.
    ASSERT_TRUE(RecordPolyline::ArcBounds(Turn(0, 0, 40, kPi, kPi), ARC_COUNTERCLOCKWISE, lower, upper));
    EXPECT_NEAR(lower[1], 0.0f, 1e-4);
    EXPECT_NEAR(upper[1], 40.0f, 1e-4);

    // Arcs of every kind: the box holds every point of the arc, and each of
    // its faces touches the arc.
    uint32_t seed = 777;
    const auto next = [&seed](double low, double high) {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * double(seed >> 8) / double(1 << 24);
    };
    for (int i = 0; i < 300; ++i) {
        const double turn = i % 10 == 0 ? (i % 20 == 0 ? 2 * kPi : -2 * kPi) : next(-6.2, 6.2);
        const bool spiral = i % 7 == 0;
        const double radius = next(0.5, 80);
        const MoveRecord record = Turn(next(-50, 50), next(-50, 50), radius, next(-kPi, kPi), turn, next(-9, 9),
                                       next(-9, 9), spiral ? radius * next(0.7, 1.3) : -1.0);
        SCOPED_TRACE(i);
        ASSERT_TRUE(RecordPolyline::ArcBounds(record, Way(turn), lower, upper));
        const RecordPolyline fine(record, Way(turn), 0.0);
        float nearest[3][2];
        for (int axis = 0; axis < 3; ++axis)
            nearest[axis][0] = nearest[axis][1] = HUGE_VALF;
        for (size_t k = 0; k <= fine.SegmentCount(); ++k) {
            float v[3];
            fine.Vertex(k, v);
            for (int axis = 0; axis < 3; ++axis) {
                const float slack = 1e-4f * std::max(1.0f, std::fabs(v[axis]));
                EXPECT_GE(v[axis], lower[axis] - slack) << k;
                EXPECT_LE(v[axis], upper[axis] + slack) << k;
                nearest[axis][0] = std::min(nearest[axis][0], v[axis] - lower[axis]);
                nearest[axis][1] = std::min(nearest[axis][1], upper[axis] - v[axis]);
            }
        }
        // The finest cut has a vertex within 0.5 % of the radius of every
        // extreme point of a circle; a spiral's box may be a little wider.
        const float reach = float(radius) * (spiral ? 0.35f : 0.005f);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_LE(nearest[axis][0], reach) << "axis " << axis;
            EXPECT_LE(nearest[axis][1], reach) << "axis " << axis;
        }
    }
}

}  // namespace
