// The arc of a circular record: which way and how far it turns, its length,
// its points, and the records that have no arc.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ArcGeometry.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A circular record in the program's own frame (Y as programmed); the
// record stores Y negated.
MoveRecord Arc(double sx, double sy, double ex, double ey, double cx, double cy, double sz = 0, double ez = 0)
{
    MoveRecord r;
    r.kind = 1;
    r.startX = float(sx);
    r.startY = float(-sy);
    r.startZ = float(sz);
    r.endX = float(ex);
    r.endY = float(-ey);
    r.endZ = float(ez);
    r.centreX = float(cx);
    r.centreY = float(-cy);
    r.centreZ = float(sz);
    return r;
}

TEST(ArcGeometry, TheWorkedExamplesArcTurnsThreeQuartersClockwise)
{
    // G02 from X50 Y0 to X60 Y10 around X50 Y10.
    const ArcGeometry arc = ArcGeometry::Of(Arc(50, 0, 60, 10, 50, 10), ARC_CLOCKWISE);
    ASSERT_TRUE(arc.isArc);
    EXPECT_DOUBLE_EQ(arc.sweep, -1.5 * kPi);
    EXPECT_DOUBLE_EQ(arc.Length(), 15 * kPi);
    EXPECT_FALSE(arc.endOffCircle);
    // The other way round it is the short quarter.
    EXPECT_DOUBLE_EQ(MoveLength(Arc(50, 0, 60, 10, 50, 10), ARC_COUNTERCLOCKWISE), 5 * kPi);
}

TEST(ArcGeometry, QuarterHalfAndFullCirclesInBothDirections)
{
    // From (10, 0) around the origin.
    struct Case
    {
        double ex, ey;
        ArcDirection direction;
        double sweep;
    } cases[] = {
        {0, 10, ARC_COUNTERCLOCKWISE, kPi / 2},  {0, 10, ARC_CLOCKWISE, -1.5 * kPi},
        {0, -10, ARC_CLOCKWISE, -kPi / 2},       {0, -10, ARC_COUNTERCLOCKWISE, 1.5 * kPi},
        {-10, 0, ARC_CLOCKWISE, -kPi},           {-10, 0, ARC_COUNTERCLOCKWISE, kPi},
        {10, 0, ARC_CLOCKWISE, -2 * kPi},        {10, 0, ARC_COUNTERCLOCKWISE, 2 * kPi},
    };
    for (const Case& c : cases) {
        const ArcGeometry arc = ArcGeometry::Of(Arc(10, 0, c.ex, c.ey, 0, 0), c.direction);
        ASSERT_TRUE(arc.isArc);
        EXPECT_NEAR(arc.sweep, c.sweep, 1e-12) << c.ex << "," << c.ey << " " << int(c.direction);
        EXPECT_NEAR(arc.Length(), 10 * std::fabs(c.sweep), 1e-9);
    }
}

TEST(ArcGeometry, AHelixCombinesTheTurnWithTheRise)
{
    // A full turn of radius 5 rising 4.
    const ArcGeometry arc = ArcGeometry::Of(Arc(5, 0, 5, 0, 0, 0, 0, 4), ARC_COUNTERCLOCKWISE);
    EXPECT_DOUBLE_EQ(arc.Length(), std::sqrt(std::pow(10 * kPi, 2) + 16));
    // Points: a quarter of the way round and up, in stored coordinates.
    float x, y, z;
    arc.PointAt(0.25, x, y, z);
    EXPECT_NEAR(x, 0.0f, 1e-5);
    EXPECT_NEAR(y, -5.0f, 1e-5);  // program Y +5, stored negated
    EXPECT_NEAR(z, 1.0f, 1e-6);
    arc.PointAt(1.0, x, y, z);
    EXPECT_NEAR(x, 5.0f, 1e-5);
    EXPECT_NEAR(y, 0.0f, 1e-5);
    EXPECT_NEAR(z, 4.0f, 1e-6);
}

TEST(ArcGeometry, AnEndOffTheCircleIsMeasuredWithTheMeanRadius)
{
    // Radius 10 at the start, 10.5 at the end: off by more than 0.1 %.
    const ArcGeometry off = ArcGeometry::Of(Arc(10, 0, -10.5, 0, 0, 0), ARC_COUNTERCLOCKWISE);
    EXPECT_TRUE(off.endOffCircle);
    EXPECT_DOUBLE_EQ(off.Length(), 10.25 * kPi);
    float x, y, z;
    off.PointAt(1.0, x, y, z);
    EXPECT_NEAR(x, -10.5f, 1e-5);
    // Within 0.002 it is on the circle, and the start's radius counts.
    const ArcGeometry on = ArcGeometry::Of(Arc(1, 0, -1.0015, 0, 0, 0), ARC_COUNTERCLOCKWISE);
    EXPECT_FALSE(on.endOffCircle);
    EXPECT_DOUBLE_EQ(on.Length(), kPi);
}

TEST(ArcGeometry, StraightRecordsAndArcsWithoutACentreAreTheirChords)
{
    MoveRecord line = Arc(0, 0, 3, 4, 0, 0);
    line.kind = 0;
    EXPECT_FALSE(ArcGeometry::Of(line, ARC_NONE).isArc);
    EXPECT_DOUBLE_EQ(MoveLength(line, ARC_NONE), 5.0);
    // No I, J or R: the centre is the start.
    const MoveRecord noCentre = Arc(0, 0, 3, 4, 0, 0);
    EXPECT_FALSE(ArcGeometry::Of(noCentre, ARC_CLOCKWISE).isArc);
    EXPECT_DOUBLE_EQ(MoveLength(noCentre, ARC_CLOCKWISE), 5.0);
}

}  // namespace
