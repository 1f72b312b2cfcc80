// Circular moves as programs write them: how long the interpreter measures
// them (quarter, half, three-quarter and full circles, both directions,
// absolute and incremental, by I and J or by R, helices), where it puts the
// centre of an arc given by its radius, and the arcs it cannot measure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "FakeLines.h"
#include "NcInterpreter.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The program's own figures, within a millionth of a millionth.
void ExpectLength(double actual, double expected, const std::string& program)
{
    EXPECT_NEAR(actual, expected, expected * 1e-12) << program;
}

// Runs "G0 X10 Y0" and then arcLine at feed 100 (the arc's own F), and
// returns the interpreter.  The rapid move to the start counts no feed
// distance, so the feed distance is the arc's length.
const NcInterpreter& RunFromTenZero(NcInterpreter& nc, const std::string& arcLine)
{
    EXPECT_EQ(nc.Run(FakeLines{"G0 X10 Y0", arcLine + " F100"}), 1);
    EXPECT_EQ(nc.Moves().size(), 2u) << arcLine;
    return nc;
}

struct ArcCase
{
    int g;           // 2 or 3
    double ex, ey;   // end, program frame, around the origin from (10, 0)
    double turns;    // fraction of a full circle
};

// Radius 10 around the origin: from (10, 0) to the four quarter points.
constexpr ArcCase kCircleCases[] = {
    {3, 0, 10, 0.25},   {2, 0, -10, 0.25},  // quarters
    {2, -10, 0, 0.5},   {3, -10, 0, 0.5},   // halves
    {2, 0, 10, 0.75},   {3, 0, -10, 0.75},  // three quarters
    {2, 10, 0, 1.0},    {3, 10, 0, 1.0},    // full circles: the end is the start
};

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

TEST(ArcMoves, CirclesByIAndJInBothDirectionsAbsoluteAndIncremental)
{
    for (const ArcCase& c : kCircleCases) {
        const std::string g = "G0" + std::to_string(c.g);
        const std::string absolute = "G90 " + g + " X" + Number(c.ex) + " Y" + Number(c.ey) + " I-10 J0";
        const std::string incremental = "G91 " + g + " X" + Number(c.ex - 10) + " Y" + Number(c.ey) + " I-10 J0";
        for (const std::string& line : {absolute, incremental}) {
            NcInterpreter nc;
            RunFromTenZero(nc, line);
            ExpectLength(nc.FeedDistance(), 20 * kPi * c.turns, line);
            ExpectLength(nc.MachiningTime(), 20 * kPi * c.turns / 100, line);
            EXPECT_EQ(nc.RapidDistance(), 10.0) << line;
            EXPECT_FALSE(nc.Warnings().Any()) << line;
        }
    }
}

TEST(ArcMoves, CirclesByRadiusTakeTheShortArcForAPositiveRAndTheLongOneForANegative)
{
    struct RadiusCase
    {
        ArcCase arc;
        double r;
        double cx, cy;  // the centre it must find, program frame
    } cases[] = {
        {{3, 0, 10, 0.25}, 10, 0, 0},   {{2, 0, -10, 0.25}, 10, 0, 0},
        // The short way from (10, 0) to (0, 10) clockwise goes round (10, 10).
        {{2, 0, 10, 0.25}, 10, 10, 10}, {{3, 0, -10, 0.25}, 10, 10, -10},
        {{2, 0, 10, 0.75}, -10, 0, 0},  {{3, 0, -10, 0.75}, -10, 0, 0},
        {{2, -10, 0, 0.5}, 10, 0, 0},   {{3, -10, 0, 0.5}, -10, 0, 0},
    };
    for (const RadiusCase& c : cases) {
        const std::string g = "G0" + std::to_string(c.arc.g);
        const std::string absolute =
            "G90 " + g + " X" + Number(c.arc.ex) + " Y" + Number(c.arc.ey) + " R" + Number(c.r);
        const std::string incremental =
            "G91 " + g + " X" + Number(c.arc.ex - 10) + " Y" + Number(c.arc.ey) + " R" + Number(c.r);
        for (const std::string& line : {absolute, incremental}) {
            NcInterpreter nc;
            RunFromTenZero(nc, line);
            ExpectLength(nc.FeedDistance(), 20 * kPi * c.arc.turns, line);
            EXPECT_FALSE(nc.Warnings().Any()) << line;
            // The record holds the centre, Y negated like every Y.
            const MoveRecord& arc = nc.Moves()[1];
            EXPECT_NEAR(arc.centreX, c.cx, 1e-5) << line;
            EXPECT_NEAR(arc.centreY, -c.cy, 1e-5) << line;
            EXPECT_EQ(arc.centreZ, arc.startZ) << line;
            EXPECT_EQ(arc.endX, float(c.arc.ex)) << line;
        }
    }
}

TEST(ArcMoves, HelicesCombineTheTurnWithTheChangeInZ)
{
    NcInterpreter nc;
    // A full turn of radius 10 going down 5.
    RunFromTenZero(nc, "G03 X10 Y0 Z-5 I-10 J0");
    ExpectLength(nc.FeedDistance(), std::sqrt(std::pow(20 * kPi, 2) + 25), "full helix");
    // A quarter by R rising 3: the centre stays at the start's height, even
    // with a K on the line.
    RunFromTenZero(nc, "G02 X0 Y-10 Z3 R10 K5");
    ExpectLength(nc.FeedDistance(), std::sqrt(std::pow(5 * kPi, 2) + 9), "quarter helix");
    EXPECT_EQ(nc.Moves()[1].centreZ, 0.0f);
    EXPECT_FALSE(nc.Warnings().Any());
    // Incremental, from Z2: one and the same turn.
    nc.Run(FakeLines{"G0 X10 Y0 Z2", "G91 G03 X0 Y0 Z-5 I-10 F100"});
    ExpectLength(nc.FeedDistance(), std::sqrt(std::pow(20 * kPi, 2) + 25), "incremental helix");
}

TEST(ArcMoves, IAndJWinOverRAndRActsOnlyOnCircularLines)
{
    NcInterpreter nc;
    // R50 would put the centre far away; I-10 puts it at the origin.
    RunFromTenZero(nc, "G02 X0 Y-10 I-10 R50");
    EXPECT_EQ(nc.Moves()[1].centreX, 0.0f);
    ExpectLength(nc.FeedDistance(), 5 * kPi, "I and R");
    // J alone is enough to give the centre.
    RunFromTenZero(nc, "G03 X-10 Y0 J0 I-10 R3");
    ExpectLength(nc.FeedDistance(), 10 * kPi, "J and R");
    EXPECT_FALSE(nc.Warnings().Any());
    // On a straight line R is nothing: the centre stays at the start.
    nc.Run(FakeLines{"G1 X10 F100", "X20 R5", "G2 X30 R5", "G1 X40 R5"});
    ASSERT_EQ(nc.Moves().size(), 4u);
    EXPECT_EQ(nc.Moves()[1].centreX, 10.0f);
    EXPECT_EQ(nc.Moves()[2].centreX, 25.0f);
    EXPECT_EQ(nc.Moves()[3].centreX, 30.0f);
    // The G word after R still makes the line circular: words take effect
    // in any order for the centre, which needs the line's end.
    nc.Run(FakeLines{"G1 F100", "R5 X10 G3"});
    EXPECT_EQ(nc.Moves()[1].centreX, 5.0f);
    ExpectLength(nc.FeedDistance(), 5 * kPi, "R first");
}

TEST(ArcMoves, ARadiusTooSmallForTheChordPutsTheCentreMidwayAndWarns)
{
    NcInterpreter nc;
    nc.Run(FakeLines{"G1 F100", "G02 X10 Y0 R2"});
    ASSERT_EQ(nc.Moves().size(), 2u);
    EXPECT_EQ(nc.Moves()[1].centreX, 5.0f);
    EXPECT_EQ(nc.Moves()[1].centreY, 0.0f);
    ExpectLength(nc.FeedDistance(), 5 * kPi, "R2");
    EXPECT_EQ(nc.Warnings().lines, 1);
    EXPECT_EQ(nc.Warnings().firstLine, 1);
    EXPECT_EQ(nc.Warnings().kinds[WARNING_RADIUS_TOO_SMALL], 1);
    // A half circle whose R was rounded down by a thousandth is no error...
    nc.Run(FakeLines{"G1 F100", "G02 X10 Y0 R4.999"});
    EXPECT_FALSE(nc.Warnings().Any());
    ExpectLength(nc.FeedDistance(), 5 * kPi, "R4.999");
    // ... but one short by a hundredth is, and so is R0.
    nc.Run(FakeLines{"G1 F100", "G02 X10 Y0 R4.99", "G03 X0 R0"});
    EXPECT_EQ(nc.Warnings().lines, 2);
    EXPECT_EQ(nc.Warnings().kinds[WARNING_RADIUS_TOO_SMALL], 2);
}

TEST(ArcMoves, ArcsThatCannotBeMeasuredKeepTheirChordOrMeanRadiusAndWarn)
{
    NcInterpreter nc;
    // No I, J or R: the chord, and a warning.
    nc.Run(FakeLines{"G1 F100", "G02 X10 Y0"});
    EXPECT_EQ(nc.FeedDistance(), 10.0);
    EXPECT_EQ(nc.Warnings().kinds[WARNING_NO_CENTRE], 1);
    // An R cannot place a centre for an end on the start in X and Y.
    nc.Run(FakeLines{"G1 F100", "G02 Z-1 R5"});
    EXPECT_EQ(nc.FeedDistance(), 1.0);
    EXPECT_EQ(nc.Warnings().kinds[WARNING_NO_CENTRE], 1);
    // Radius 5 at the start, 5.5 at the end: half a turn at the mean radius.
    nc.Run(FakeLines{"G1 F100", "G02 X10.5 Y0 I5"});
    ExpectLength(nc.FeedDistance(), 5.25 * kPi, "off the circle");
    EXPECT_EQ(nc.Warnings().kinds[WARNING_END_OFF_CIRCLE], 1);
    EXPECT_EQ(nc.Warnings().lines, 1);
    // A circular line that moves nothing (only a new feed, or the motion)
    // cuts nothing and warns of nothing.
    nc.Run(FakeLines{"G1 F100", "G02", "F200", "G03 F300"});
    EXPECT_EQ(nc.Moves().size(), 4u);
    EXPECT_FALSE(nc.Warnings().Any());
}

}  // namespace
