// The reduced levels of a toolpath, without drawing: what they keep, what
// bounds them, and which level a frame's budget picks.
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "MoveList.h"
#include "RecordPolyline.h"
#include "SimFixture.h"
#include "ToolpathReduction.h"

namespace {

// Arcs within a twentieth of a unit of the true ones.
constexpr double kArcTolerance = 0.05;

struct Reduced
{
    MoveList moves;
    ToolpathBatch batch;
    std::unique_ptr<ToolpathReduction> reduction;

    void Build()
    {
        batch.Build(moves, kArcTolerance);
        reduction = ToolpathReduction::Build(batch);
        ASSERT_TRUE(reduction);
    }
    // The records a level kept.
    std::set<size_t> Kept(size_t level) const
    {
        std::set<size_t> kept;
        reduction->ForEachSegment(level, [&](size_t record, int, const float*, const float*) { kept.insert(record); });
        return kept;
    }
};

// Random steps in a box, now and then a long jump, some of them rapids.
void Scribble(MoveList& moves, int count, uint32_t seed, float step)
{
    const auto next = [&seed](float range) {
        seed = seed * 1664525u + 1013904223u;
        return (float(seed >> 8) / float(1 << 24) * 2.0f - 1.0f) * range;
    };
    float x = 0, y = 0, z = 0;
    for (int i = 0; i < count; ++i) {
        const float reach = i % 50 == 0 ? 100.0f : step;
        const float nx = std::clamp(x + next(reach), -100.0f, 100.0f);
        const float ny = std::clamp(y + next(reach), -80.0f, 80.0f);
        const float nz = std::clamp(z + next(reach / 4), -20.0f, 20.0f);
        moves.push_back(Segment(i, x, y, z, nx, ny, nz, i % 7, i % 50 == 0));
        x = nx, y = ny, z = nz;
    }
}

double PointToSegment(const double* p, const float* a, const float* b)
{
    double ab[3], ap[3], dot = 0.0, length = 0.0;
    for (int k = 0; k < 3; ++k) {
        ab[k] = double(b[k]) - a[k];
        ap[k] = p[k] - a[k];
        dot += ab[k] * ap[k];
        length += ab[k] * ab[k];
    }
    const double t = length > 0.0 ? std::clamp(dot / length, 0.0, 1.0) : 0.0;
    double distance = 0.0;
    for (int k = 0; k < 3; ++k)
        distance += (ap[k] - t * ab[k]) * (ap[k] - t * ab[k]);
    return std::sqrt(distance);
}

TEST(ToolpathReductionTest, AnEmptyListAndASingleRecord)
{
    Reduced empty;
    empty.Build();
    EXPECT_EQ(empty.reduction->RecordCount(), 0u);
    ASSERT_GE(empty.reduction->LevelCount(), 1u);
    for (size_t level = 0; level < empty.reduction->LevelCount(); ++level)
        EXPECT_EQ(empty.reduction->SegmentCount(level), 0u);
    EXPECT_GT(empty.reduction->Lower()[0], empty.reduction->Upper()[0]);
    // Nothing costs nothing: the exact toolpath fits any budget.
    EXPECT_EQ(empty.reduction->LevelFor(0.0, 1.0), ToolpathReduction::kExact);

    // One record, a feed move and a rapid: every level keeps it, as it is,
    // in its colour.
    for (const bool rapid : {false, true}) {
        Reduced one;
        one.moves.push_back(Segment(7, 1, 2, 3, 4, -5, 6, 13, rapid));
        one.Build();
        const ToolpathReduction& r = *one.reduction;
        EXPECT_EQ(r.RecordCount(), 1u);
        EXPECT_EQ(r.LevelCount(), 6u);  // 512 cells down to 16
        EXPECT_EQ(r.Resolution(0), ToolpathReduction::kFinestResolution);
        EXPECT_EQ(r.Resolution(r.LevelCount() - 1), ToolpathReduction::kCoarsestResolution);
        for (size_t level = 0; level < r.LevelCount(); ++level) {
            ASSERT_EQ(r.SegmentCount(level), 1u);
            r.ForEachSegment(level, [&](size_t record, int colour, const float* start, const float* end) {
                EXPECT_EQ(record, 0u);
                EXPECT_EQ(colour, rapid ? kRapidColour : 3);
                EXPECT_EQ(std::vector<float>(start, start + 3), (std::vector<float>{1, 2, 3}));
                EXPECT_EQ(std::vector<float>(end, end + 3), (std::vector<float>{4, -5, 6}));
            });
            // A level of the one record costs what the record does.
            EXPECT_DOUBLE_EQ(r.FrameCost(level, 3.0), r.FrameCost(ToolpathReduction::kExact, 3.0));
        }
        EXPECT_EQ(r.LevelFor(r.FrameCost(ToolpathReduction::kExact, 3.0), 3.0), ToolpathReduction::kExact);
        // Below its cost no level fits: the coarsest is the answer.
        EXPECT_EQ(r.LevelFor(0.0, 3.0), r.LevelCount() - 1);
    }
}

TEST(ToolpathReductionTest, RepeatedPassesLeaveOnlyTheFirstAndBrokenRecordsNothing)
{
    Reduced passes;
    // A square contour machined fifty times at one depth, then ten times at
    // a depth of 5, 25 cells below at the finest level.
    const float square[5][2] = {{0, 0}, {100, 0}, {100, -100}, {0, -100}, {0, 0}};
    int line = 0;
    for (const float z : {0.0f, -5.0f})
        for (int pass = 0; pass < (z == 0.0f ? 50 : 10); ++pass)
            for (int side = 0; side < 4; ++side, ++line)
                passes.moves.push_back(Segment(line, square[side][0], square[side][1], z, square[side + 1][0],
                                               square[side + 1][1], z, 2));
    // A record that is not finite is never kept and does not widen the box.
    passes.moves.push_back(Segment(line++, 0, 0, 0, std::numeric_limits<float>::quiet_NaN(), 0, 0, 2));
    passes.moves.push_back(Segment(line++, 0, 0, 0, std::numeric_limits<float>::infinity(), 0, 0, 2, true));
    passes.Build();
    const ToolpathReduction& r = *passes.reduction;
    const std::set<size_t> finest = passes.Kept(0);
    EXPECT_EQ(finest, (std::set<size_t>{0, 1, 2, 3, 200, 201, 202, 203}));
    // Coarser cells may merge the two depths, never drop the first pass.
    const std::set<size_t> firstPass{0, 1, 2, 3};
    for (size_t level = 1; level < r.LevelCount(); ++level) {
        const std::set<size_t> kept = passes.Kept(level);
        EXPECT_TRUE(std::includes(kept.begin(), kept.end(), firstPass.begin(), firstPass.end())) << level;
        EXPECT_TRUE(std::includes(finest.begin(), finest.end(), kept.begin(), kept.end())) << level;
    }
    EXPECT_FLOAT_EQ(r.Lower()[0], 0.0f);
    EXPECT_FLOAT_EQ(r.Upper()[0], 100.0f);
    EXPECT_FLOAT_EQ(r.Lower()[2], -5.0f);
}

// Whatever a level drops, a kept segment passes within a cell: sample every
// record at a quarter of a cell and look for the nearest kept segment.
TEST(ToolpathReductionTest, EveryPartOfTheToolpathKeepsALineWithinACell)
{
    Reduced tangle;
    Scribble(tangle.moves, 3000, 4242, 4.0f);
    tangle.Build();
    const ToolpathReduction& r = *tangle.reduction;
    for (size_t level = 2; level < r.LevelCount(); ++level) {
        std::vector<std::array<float, 6>> kept;
        r.ForEachSegment(level, [&](size_t, int, const float* a, const float* b) {
            kept.push_back({a[0], a[1], a[2], b[0], b[1], b[2]});
        });
        ASSERT_LT(kept.size(), tangle.moves.size());
        const double cell = r.CellSize(level), reach = cell * std::sqrt(3.0) * 1.001;
        double worst = 0.0;
        for (const MoveRecord& record : tangle.moves) {
            const float a[3] = {record.startX, record.startY, record.startZ};
            const float b[3] = {record.endX, record.endY, record.endZ};
            double length = 0.0;
            for (int k = 0; k < 3; ++k)
                length += (double(b[k]) - a[k]) * (double(b[k]) - a[k]);
            const int samples = int(std::sqrt(length) / (cell / 4)) + 1;
            for (int i = 0; i <= samples; ++i) {
                double p[3];
                for (int k = 0; k < 3; ++k)
                    p[k] = a[k] + (double(b[k]) - a[k]) * i / samples;
                double nearest = std::numeric_limits<double>::infinity();
                for (const auto& segment : kept)
                    nearest = std::min(nearest, PointToSegment(p, &segment[0], &segment[3]));
                worst = std::max(worst, nearest);
            }
        }
        EXPECT_LE(worst, reach) << "level " << level << ", cell " << cell;
    }
}

// A level is bounded by its grid: ten times the records of the same kind
// in the same box leave the coarse levels about as they were.
TEST(ToolpathReductionTest, LevelsAreBoundedByTheirGridNotByTheRecordCount)
{
    Reduced some, many;
    Scribble(some.moves, 20000, 99, 2.0f);
    Scribble(many.moves, 200000, 99, 2.0f);
    some.Build();
    many.Build();
    const size_t coarsest = many.reduction->LevelCount() - 1;
    for (size_t level = 0; level < many.reduction->LevelCount(); ++level) {
        const size_t cells = size_t(many.reduction->Resolution(level));
        EXPECT_LE(many.reduction->SegmentCount(level), cells * cells * cells) << level;
        // Each level keeps fewer than the one before, and only from it.
        if (level > 0) {
            EXPECT_LT(many.reduction->SegmentCount(level), many.reduction->SegmentCount(level - 1));
            const std::set<size_t> kept = many.Kept(level), finer = many.Kept(level - 1);
            EXPECT_TRUE(std::includes(finer.begin(), finer.end(), kept.begin(), kept.end())) << level;
        }
    }
    EXPECT_LT(many.reduction->SegmentCount(coarsest), 2 * some.reduction->SegmentCount(coarsest));
}

// An arc reaches the levels as the segments of its polyline, each under
// the arc's record; the exact frame costs every one of them.
TEST(ToolpathReductionTest, ArcsReachTheLevelsAsTheirSegmentsUnderTheirRecords)
{
    Reduced circles;
    // Forty passes round a whole circle of radius 40, then a line across.
    for (int pass = 0; pass < 40; ++pass)
        circles.moves.push_back(ArcSegment(pass, 40, 0, 0, 40, 0, 0, 0, 0, 6), ARC_CLOCKWISE);
    circles.moves.push_back(Segment(40, 40, 0, 0, -40, 0, 0, 6));
    circles.Build();
    const size_t perTurn = RecordPolyline(circles.moves[0], ARC_CLOCKWISE, kArcTolerance).SegmentCount();
    ASSERT_GT(perTurn, 50u);
    EXPECT_EQ(circles.batch.SegmentCount(), 40 * perTurn + 1);

    // The arrays: each record's segments in order, joined end to end, from
    // the record's start round the circle back to its end.
    std::vector<size_t> segments(circles.moves.size(), 0);
    const float* previousEnd = nullptr;
    size_t previousRecord = 0;
    circles.batch.ForEachSegment([&](size_t record, int colour, const float* start, const float* end) {
        EXPECT_EQ(colour, 6);
        ASSERT_LT(record, circles.moves.size());
        ASSERT_GE(record, previousRecord);
        if (previousEnd) {
            EXPECT_EQ(std::vector<float>(start, start + 3), std::vector<float>(previousEnd, previousEnd + 3));
        }
        if (segments[record]++ == 0) {
            EXPECT_EQ(start[0], circles.moves[record].startX);
        }
        if (record < 40) {
            EXPECT_NEAR(std::hypot(double(end[0]), double(end[1])), 40.0, 1e-3);
        }
        previousEnd = end;
        previousRecord = record;
    });
    EXPECT_EQ(segments[0], perTurn);
    EXPECT_EQ(segments[39], perTurn);
    EXPECT_EQ(segments[40], 1u);

    // The finest level keeps the first turn, under record 0, and the line;
    // the other passes add nothing.  Every level still has the far side of
    // the circle, which no chord would reach.
    const ToolpathReduction& r = *circles.reduction;
    const std::set<size_t> finest = circles.Kept(0);
    EXPECT_EQ(finest, (std::set<size_t>{0, 40}));
    for (size_t level = 0; level < r.LevelCount(); ++level) {
        double nearest = std::numeric_limits<double>::infinity();
        const double farSide[3] = {-40.0, 0.0, 0.0};
        r.ForEachSegment(level, [&](size_t record, int, const float* a, const float* b) {
            if (record == 0)
                nearest = std::min(nearest, PointToSegment(farSide, a, b));
        });
        EXPECT_LE(nearest, r.CellSize(level) * std::sqrt(3.0)) << level;
    }
    // Nothing on the screen costs the segments' transformation alone.
    EXPECT_DOUBLE_EQ(r.FrameCost(ToolpathReduction::kExact, 0.0),
                     double(circles.batch.SegmentCount()) * ToolpathReduction::kSegmentMicroseconds);
}

TEST(ToolpathReductionTest, AFramePicksTheFinestLevelItsBudgetAllows)
{
    Reduced program;
    FakeNcDocument doc;
    Interpret(doc, 6000);
    for (const MoveRecord& record : doc.m_moves)
        program.moves.push_back(record);
    program.Build();
    const ToolpathReduction& r = *program.reduction;
    constexpr double scale = 2.0;
    const double exact = r.FrameCost(ToolpathReduction::kExact, scale);
    EXPECT_EQ(r.LevelFor(exact, scale), ToolpathReduction::kExact);
    EXPECT_EQ(r.LevelFor(exact * 0.999, scale), 0u);
    for (size_t level = 1; level < r.LevelCount(); ++level) {
        const double cost = r.FrameCost(level, scale);
        ASSERT_LT(cost, r.FrameCost(level - 1, scale));
        EXPECT_EQ(r.LevelFor(cost, scale), level);
        EXPECT_EQ(r.LevelFor(r.FrameCost(level - 1, scale) * 0.999, scale), level);
    }
    EXPECT_EQ(r.LevelFor(0.0, scale), r.LevelCount() - 1);
    // Pixels cost in proportion to the scale and to the share on the pane;
    // every segment costs its transformation whatever the view.
    const size_t middle = r.LevelCount() / 2;
    const double perSegment = double(r.SegmentCount(middle)) * ToolpathReduction::kSegmentMicroseconds;
    EXPECT_NEAR(r.FrameCost(middle, 2 * scale) - perSegment, 2 * (r.FrameCost(middle, scale) - perSegment), 1e-6);
    EXPECT_NEAR(r.FrameCost(middle, scale, 0.25) - perSegment, (r.FrameCost(middle, scale) - perSegment) / 4, 1e-6);
    // So zoomed in on a quarter of the part, a finer level fits the same
    // budget.
    const double budget = r.FrameCost(middle, scale);
    EXPECT_LT(r.LevelFor(budget, 4 * scale, 1.0 / 16), middle);
}

}  // namespace
