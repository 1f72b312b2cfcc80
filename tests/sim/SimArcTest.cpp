// Circular records on the screen: a full circle, quarter arcs each way, a
// helix, an arc without a centre; the extents round the arcs; a pick on an
// arc's far side; the arrays, the slices and the per-record drawing alike
// with arcs; and arcs in the frames drawn while the camera moves.
#include <cmath>

#include "MoveList.h"
#include "SimFixture.h"
#include "ids.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class SimArcTest : public SimViewTest
{
protected:
    void SetUp() override
    {
        SimViewTest::SetUp();
        // A tool never configured: its model shows nothing, so that the
        // arcs round the origin are seen alone.
        doc->m_tools.push_back(ToolSlot{});
        Show();
    }
    // Where a program point (Y as programmed) lands on the pane.
    QPointF At(double x, double y, double z = 0.0) const { return Project(x, -y, z); }
    // The program point at an angle (degrees) on a circle.
    static QPointF OnCircle(double cx, double cy, double radius, double degrees)
    {
        return {cx + radius * std::cos(degrees * kPi / 180.0), cy + radius * std::sin(degrees * kPi / 180.0)};
    }
    QPointF AtAngle(double cx, double cy, double radius, double degrees, double z = 0.0) const
    {
        const QPointF p = OnCircle(cx, cy, radius, degrees);
        return At(p.x(), p.y(), z);
    }
    // The list replaced by records, then the top view of all of it.
    void ShowFromTheTop(const std::vector<std::pair<MoveRecord, ArcDirection>>& records)
    {
        doc->m_moves.clear();
        for (const auto& [record, direction] : records)
            doc->m_moves.push_back(record, direction);
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    }
    // Lit pixels of a colour, and the farthest any of them lies from the
    // circle round a pane point with a radius in pixels.
    static int FarthestFromCircle(const QImage& image, QRgb colour, QPointF centre, double radius, double& farthest)
    {
        int count = 0;
        farthest = 0.0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (Near(image.pixel(x, y), colour)) {
                    ++count;
                    const double d = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
                    farthest = std::max(farthest, std::fabs(d - radius));
                }
        return count;
    }
};

TEST_F(SimArcTest, AFullCircleIsDrawnAllRoundAndNothingInsideIt)
{
    // G02 from (50, 0) back to (50, 0) around the origin: a whole turn.
    ShowFromTheTop({{ArcSegment(0, 50, 0, 0, 50, 0, 0, 0, 0, 3), ARC_CLOCKWISE}});
    const QImage image = Grab();
    // Away from the four points where the circle touches its box.
    for (int degrees = 15; degrees < 360; degrees += 30)
        EXPECT_TRUE(ColourNear(image, AtAngle(0, 0, 50, degrees), kCyan)) << degrees;
    EXPECT_TRUE(BlackAround(image, At(0, 0), 3));
    for (int degrees = 0; degrees < 360; degrees += 45)
        EXPECT_TRUE(BlackAround(image, AtAngle(0, 0, 30, degrees))) << degrees;
    // Every pixel of it lies on the circle: within the pixel the polyline
    // may stray and the one the rasteriser rounds to.
    double farthest = 0.0;
    const int lit = FarthestFromCircle(image, kCyan, At(0, 0), 50 * view->m_scale, farthest);
    // A line one pixel wide lights at least one pixel in every column it
    // crosses, above and below: twice the diameter.
    EXPECT_GT(lit, int(2 * 100 * view->m_scale));
    EXPECT_LT(farthest, 1.5);
    EXPECT_TRUE(image == PerRecord());
}

TEST_F(SimArcTest, QuarterArcsTurnTheWayTheirDirectionSays)
{
    // From (40, 0) to (0, 40) around the origin: G03 the short way through
    // 45 degrees, G02 the long way through 135, 225 and 315.  A short feed
    // move in a far corner keeps the box the same for both.
    const MoveRecord corner = Segment(0, -45, 45, 0, -44, 45, 0, 3);
    const MoveRecord quarter = ArcSegment(1, 40, 0, 0, 0, 40, 0, 0, 0, 3);
    for (const ArcDirection direction : {ARC_COUNTERCLOCKWISE, ARC_CLOCKWISE}) {
        const bool ccw = direction == ARC_COUNTERCLOCKWISE;
        SCOPED_TRACE(ccw ? "G03" : "G02");
        ShowFromTheTop({{corner, ARC_NONE}, {quarter, direction}});
        const QImage image = Grab();
        EXPECT_EQ(ColourNear(image, AtAngle(0, 0, 40, 45), kCyan), ccw);
        for (const int degrees : {135, 225, 300})
            EXPECT_EQ(ColourNear(image, AtAngle(0, 0, 40, degrees), kCyan), !ccw) << degrees;
        // Nothing where the chord would run.
        for (const double t : {0.3, 0.5, 0.7})
            EXPECT_TRUE(BlackAround(image, At(40 * (1 - t), 40 * t))) << t;
        EXPECT_TRUE(image == PerRecord());
    }
}

TEST_F(SimArcTest, AHelixClimbsRoundItsAxis)
{
    // A whole turn from Z 0 down to -10, then half a turn down to -15, seen
    // from the front: X across, Z up the pane.  A move out along the bottom
    // keeps the box's edges off X 30.
    ShowFromTheTop({{ArcSegment(0, 30, 0, 0, 30, 0, -10, 0, 0, 3), ARC_COUNTERCLOCKWISE},
                    {ArcSegment(1, 30, 0, -10, -30, 0, -15, 0, 0, 3), ARC_COUNTERCLOCKWISE},
                    {Segment(2, -30, 0, -15, 45, 0, -15, 3), ARC_NONE}});
    ASSERT_TRUE(Run(ID_SIM_FRONTVIEW));
    const QImage image = Grab();
    for (const int degrees : {60, 120, 240, 300}) {
        const QPointF p = OnCircle(0, 0, 30, degrees);
        EXPECT_TRUE(ColourNear(image, At(p.x(), p.y(), -10.0 * degrees / 360.0), kCyan)) << degrees;
    }
    EXPECT_TRUE(ColourNear(image, At(0, 30, -12.5), kCyan));
    // The first turn's chord would stand straight up at X 30.
    EXPECT_TRUE(BlackAround(image, At(30, 0, -5)));
    EXPECT_TRUE(image == PerRecord());
}

TEST_F(SimArcTest, AnArcWithoutACentreIsDrawnAsItsChord)
{
    // G02 with no I, J or R: the record's centre is its start.  A move
    // along the top leads to it.
    MoveRecord noCentre = Segment(1, -40, 20, 0, 40, -20, 0, 1);
    noCentre.kind = 1;
    ShowFromTheTop({{Segment(0, 40, 20, 0, -40, 20, 0, 1), ARC_NONE}, {noCentre, ARC_CLOCKWISE}});
    const QImage image = Grab();
    for (const double t : {0.2, 0.5, 0.8})
        EXPECT_TRUE(ColourNear(image, Project(-40 + 80 * t, 20 - 40 * t, 0), kGreen)) << t;
    ASSERT_TRUE(view->m_batch);
    EXPECT_EQ(view->m_batch->SegmentCount(), 2u);
}

TEST_F(SimArcTest, TheExtentsHoldWhereFeedArcsBulgeAndLeaveRapidArcsOut)
{
    // Half a circle clockwise over the top: from (-40, 0) through (0, 40)
    // to (40, 0).  A rapid arc under the same ends bulges down, and a helix
    // further right goes from (100, 10) once round (90 to 110) down to -12.
    MoveRecord rapidArc = ArcSegment(1, 40, 0, 5, -40, 0, 5, 0, 0, 0, true);
    ShowFromTheTop({{ArcSegment(0, -40, 0, 0, 40, 0, 0, 0, 0, 1), ARC_CLOCKWISE},
                    {rapidArc, ARC_CLOCKWISE},
                    {ArcSegment(2, 100, 10, 0, 100, 10, -12, 100, 0, 1), ARC_CLOCKWISE}});
    EXPECT_NEAR(view->m_xMin, -40.0f, 1e-3);
    EXPECT_NEAR(view->m_xMax, 110.0f, 1e-3);
    EXPECT_NEAR(view->m_yMin, -40.0f, 1e-3);  // stored Y: program +40
    EXPECT_NEAR(view->m_yMax, 10.0f, 1e-3);   // the helix, not the rapid's -40
    EXPECT_FLOAT_EQ(view->m_zMin, -12.0f);
    EXPECT_FLOAT_EQ(view->m_zMax, 0.0f);
    EXPECT_NEAR(view->m_centre[1], -15.0f, 1e-3);
    // The box is drawn round the bulge: its top edge runs just above it.
    const QImage image = Grab();
    EXPECT_TRUE(ColourNear(image, At(-20, 40.5), kBlue, 2));
    EXPECT_TRUE(ColourNear(image, AtAngle(0, 0, 40, 60), kGreen));
}

TEST_F(SimArcTest, APickOnTheFarSideOfAnArcReportsItsRecord)
{
    // Half a circle clockwise from (-50, 0) over (0, 50) to (50, 0); its
    // chord runs along the X axis.  A move beyond it keeps the box's edge
    // off the top of the arc.
    ShowFromTheTop({{ArcSegment(4, -50, 0, 0, 50, 0, 0, 0, 0, 2), ARC_CLOCKWISE},
                    {Segment(5, 50, 0, 0, 60, -70, 0, 1), ARC_NONE}});
    (void)Grab();
    const auto rightClick = [this](QPointF point) {
        Press(Qt::RightButton, point.toPoint());
        Release(Qt::RightButton, point.toPoint());
    };
    rightClick(At(0, 0));
    EXPECT_TRUE(doc->m_shownLines.empty());
    rightClick(At(0, 50));
    EXPECT_EQ(view->m_currentLine, 4);
    EXPECT_EQ(doc->m_shownLines, std::vector<int>{4});

    // Zoomed in on the top of the arc, with both ends and the whole chord
    // far off the pane: the pick still draws the record.
    view->m_scale *= 6.0f;
    const QPointF top = At(0, 50);
    view->m_panX -= int32_t(std::lround(top.x() - kWidth / 2.0));
    view->m_panY -= int32_t(std::lround(top.y() - kHeight / 2.0));
    ASSERT_FALSE(QRectF(0, 0, kWidth, kHeight).contains(At(-50, 0)));
    ASSERT_FALSE(QRectF(0, 0, kWidth, kHeight).contains(At(50, 0)));
    ASSERT_TRUE(ColourNear(Grab(), At(0, 50), qRgb(255, 179, 255)));
    rightClick(At(0, 50));
    EXPECT_EQ(doc->m_shownLines, (std::vector<int>{4, 4}));
    rightClick(At(0, 45));
    EXPECT_EQ(doc->m_shownLines, (std::vector<int>{4, 4}));
}

// A program of arcs of every kind: whole turns and quarters both ways,
// helices, an end off the circle, tiny and large radii, arcs without a
// centre, rapid arcs (stippled), tool changes, and arcs that start where
// the last move did not end.
void AddArcsOfEveryKind(MoveList& moves)
{
    int line = 0;
    const auto feed = [&](float x0, float y0, float z0, float x1, float y1, float z1, float cx, float cy,
                          ArcDirection direction, int tool) {
        moves.push_back(ArcSegment(line++, x0, y0, z0, x1, y1, z1, cx, cy, tool), direction);
    };
    moves.push_back(Segment(line++, 0, 0, 20, 60, 0, 2, 0, true));
    moves.push_back(Segment(line++, 60, 0, 2, 60, 0, 0, 1));
    feed(60, 0, 0, 60, 0, 0, 0, 0, ARC_COUNTERCLOCKWISE, 1);
    feed(60, 0, 0, 0, 60, -2, 0, 0, ARC_CLOCKWISE, 1);
    feed(0, 60, -2, 0, 60, -8, 0, 30, ARC_COUNTERCLOCKWISE, 1);
    feed(0, 60, -8, 30, 30, -8, 0, 0, ARC_CLOCKWISE, 1);   // end off the circle
    feed(30, 30, -8, 30.4f, 30, -8, 30.2f, 30, ARC_COUNTERCLOCKWISE, 1);  // tiny
    MoveRecord noCentre = ArcSegment(line++, 30.4f, 30, -8, -50, -40, -8, 30.4f, 30, 1);
    moves.push_back(noCentre, ARC_CLOCKWISE);
    feed(-50, -40, -8, 50, -40, -8, 0, -1000, ARC_CLOCKWISE, 5);  // a large radius
    moves.push_back(ArcSegment(line++, 50, -40, -8, -50, -40, 10, 0, -40, 0, true), ARC_COUNTERCLOCKWISE);
    moves.push_back(ArcSegment(line++, -50, -40, 10, 20, -10, 10, -15, -25, 0, true), ARC_CLOCKWISE);
    feed(-20, -20, -4, -20, -20, -4, -30, -20, ARC_CLOCKWISE, 7);  // not where the rapid ended
    for (int turn = 0; turn < 6; ++turn)
        feed(-20, -20, -4 - turn, -20, -20, -5 - turn, -30, -20, ARC_COUNTERCLOCKWISE, 7);
    moves.push_back(Segment(line++, -20, 20, -10, 70, -70, 5, 3));
}

TEST_F(SimArcTest, TheArraysTheSlicesAndThePerRecordDrawingDrawArcsAlike)
{
    AddArcsOfEveryKind(doc->m_moves);
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    const auto compare = [&](const char* what) {
        view->SetBatchedDrawing(true);
        const QImage batched = Grab();
        const QImage perRecord = PerRecord();
        EXPECT_GT(NonBlack(perRecord), 600) << what;
        EXPECT_TRUE(batched == perRecord) << what;
        return perRecord;
    };
    compare("default view");
    ASSERT_TRUE(view->m_batch);
    EXPECT_GT(view->m_batch->SegmentCount(), 10 * doc->m_moves.size());
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    compare("top");
    ASSERT_TRUE(Run(ID_SIM_ISOVIEW));
    view->m_scale *= 2.5f;  // long enough to show the rapids' stipple
    const QImage iso = compare("isometric, enlarged");

    // Slices cut runs of arcs anywhere; they add up to the same frame.
    view->SetRecordsPerSlice(2);
    EXPECT_GE(PaintsOfAFrame(), 5);
    EXPECT_TRUE(SamePixels(Shown(), iso));
    view->SetRecordsPerSlice(3);
    PaintsOfAFrame();
    EXPECT_TRUE(SamePixels(Shown(), iso));
    view->SetRecordsPerSlice(CSimView::kRecordsPerSlice);

    // Simulation draws records up to a line, cut anywhere in the runs.
    view->m_simulating = true;
    size_t previous = 0;
    for (const int32_t line : {2, 4, 8, 10, 13}) {
        view->m_currentLine = line;
        const QImage prefix = compare("simulating");
        EXPECT_GT(NonBlack(prefix), previous) << line;
        previous = size_t(NonBlack(prefix));
        EXPECT_EQ(view->LastFrameSegments(), size_t(line + 1)) << line;
    }
}

TEST_F(SimArcTest, FramesWhileTheCameraMovesDrawTheArcsOfTheReducedLevel)
{
    // Sixty passes round a path of two half circles, so that the reduced
    // levels have passes to leave out.
    int line = 0;
    for (int pass = 0; pass < 60; ++pass) {
        doc->m_moves.push_back(ArcSegment(line++, 40, 0, 0, -40, 0, 0, 0, 0, 3), ARC_COUNTERCLOCKWISE);
        doc->m_moves.push_back(ArcSegment(line++, -40, 0, 0, 40, 0, 0, 0, 0, 3), ARC_COUNTERCLOCKWISE);
    }
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    view->SetReducedFrameBudget(1.0);
    const QImage exact = Grab();
    ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_reduction != nullptr; }));
    const size_t coarsest = view->m_reduction->LevelCount() - 1;

    ASSERT_TRUE(Run(ID_SIM_PAN));
    Press(Qt::LeftButton, {200, 200});
    MoveTo(Qt::LeftButton, {200, 200});
    ASSERT_TRUE(view->IsInteracting());
    const QImage during = Grab();
    EXPECT_EQ(view->LastFrameSegments(), view->m_reduction->SegmentCount(coarsest));
    EXPECT_LT(view->LastFrameSegments() * 10, view->m_batch->SegmentCount());
    // The circle and nothing else: the kept pieces of the arcs, not chords
    // across it.
    int litOnlyDuring = 0, litInBoth = 0;
    for (int y = 0; y < exact.height(); ++y)
        for (int x = 0; x < exact.width(); ++x) {
            const bool now = (during.pixel(x, y) & 0xFFFFFFu) != 0, still = (exact.pixel(x, y) & 0xFFFFFFu) != 0;
            litOnlyDuring += now && !still;
            litInBoth += now && still;
        }
    EXPECT_EQ(litOnlyDuring, 0);
    EXPECT_GT(litInBoth, NonBlack(exact) / 2);
    EXPECT_TRUE(BlackAround(during, At(0, 0), 3));
    // Simulating the first half circle, over the top: only the pieces of
    // its record.
    view->m_simulating = true;
    view->m_currentLine = 0;
    const QImage first = Grab();
    size_t ofFirst = 0;
    view->m_reduction->ForEachSegment(coarsest, [&](size_t record, int, const float*, const float*) {
        ofFirst += record == 0 ? 1 : 0;
    });
    EXPECT_GT(ofFirst, 4u);
    EXPECT_EQ(view->LastFrameSegments(), ofFirst);
    const double middle = At(0, 0).y();
    int above = 0, below = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (Near(first.pixel(x, y), kCyan))
                (y < middle ? above : below) += 1;
    EXPECT_GT(above, 100);
    EXPECT_EQ(below, 0);
    Release(Qt::LeftButton, {200, 200});
}

}  // namespace
