// The scene: the initial box and its scale, the extents, the colours and
// shapes of the toolpath, the simulation filter, and the vertex-array
// drawing against the per-record drawing.
#include "SimFixture.h"
#include "ids.h"

namespace {

// The top-view pane point of a program point, at the pane's centre plane.
TEST_F(SimViewTest, NewViewShowsTheInitialBoxAndTheAxisIndicator)
{
    EXPECT_FLOAT_EQ(view->m_scale, 1.0f);
    EXPECT_FLOAT_EQ(view->m_xMin, -150.0f);
    EXPECT_FLOAT_EQ(view->m_xMax, 150.0f);
    EXPECT_FLOAT_EQ(view->m_yMin, -150.0f);
    EXPECT_FLOAT_EQ(view->m_yMax, 150.0f);
    EXPECT_FLOAT_EQ(view->m_zMin, -25.0f);
    EXPECT_FLOAT_EQ(view->m_zMax, 25.0f);
    EXPECT_EQ(view->m_playPos, CSimView::kNoPosition);

    Show();
    // The first resize fits the 300-unit box into 95 % of the shorter side.
    EXPECT_FLOAT_EQ(view->m_scale, 0.95f * kHeight / 300.0f);

    // Back at scale 1 in the top view the box is 300 pixels square round
    // the centre, its near (z = 25) face blue over the grey far face.
    view->m_scale = 1.0f;
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    QImage image = Grab();
    EXPECT_TRUE(ColourNear(image, {250, 50}, kBlue));
    EXPECT_TRUE(ColourNear(image, {400, 200}, kBlue));
    EXPECT_TRUE(ColourNear(image, {250, 350}, kBlue));
    EXPECT_TRUE(ColourNear(image, {100, 200}, kBlue));
    EXPECT_TRUE(BlackAround(image, {250, 200}));
    EXPECT_TRUE(BlackAround(image, {250, 30}));

    // The axis indicator: d = 640, so its origin is 42 pixels in from the
    // left and bottom edges, X (red) to the right and program +Y (green) up,
    // each 32 pixels long.
    EXPECT_TRUE(ColourNear(image, {42 + 20, 358}, kRed));
    EXPECT_TRUE(ColourNear(image, {42, 358 - 20}, kGreen));
    EXPECT_TRUE(BlackAround(image, {42 - 15, 358}, 1));
    EXPECT_TRUE(BlackAround(image, {42 + 20, 358 + 15}, 1));

    // In the default view (60, -15) the near face's edges lie where the
    // camera model puts them.
    view->m_rotX = 60.0f;
    view->m_rotY = -15.0f;
    image = Grab();
    EXPECT_TRUE(ColourNear(image, Project(0, -150, 25), kBlue));
    EXPECT_TRUE(ColourNear(image, Project(150, 0, 25), kBlue));
    EXPECT_TRUE(ColourNear(image, Project(0, -150, -25), kGrey));
}

TEST_F(SimViewTest, ExtentsCountOnlyFeedEndPointsAndAlwaysTheOrigin)
{
    Show();
    const float scale = view->m_scale;
    // A rapid far out, and one feed move starting far out the other way.
    doc->m_moves.push_back(Segment(0, 0, 0, 0, 500, -400, 300, 0, true));
    doc->m_moves.push_back(Segment(1, -300, 200, -80, 10, -20, 5));
    Interpreted();
    EXPECT_FLOAT_EQ(view->m_xMin, 0.0f);
    EXPECT_FLOAT_EQ(view->m_xMax, 10.0f);
    EXPECT_FLOAT_EQ(view->m_yMin, -20.0f);
    EXPECT_FLOAT_EQ(view->m_yMax, 0.0f);
    EXPECT_FLOAT_EQ(view->m_zMin, 0.0f);
    EXPECT_FLOAT_EQ(view->m_zMax, 5.0f);
    EXPECT_FLOAT_EQ(view->m_centre[0], 5.0f);
    EXPECT_FLOAT_EQ(view->m_centre[1], -10.0f);
    EXPECT_FLOAT_EQ(view->m_centre[2], 2.5f);
    EXPECT_EQ(view->m_playPos, 0u);
    EXPECT_EQ(view->m_playEnd, 1u);
    // The scale follows only at zoom all (or the next resize).
    EXPECT_FLOAT_EQ(view->m_scale, scale);
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    EXPECT_FLOAT_EQ(view->m_scale, 0.95f * kHeight / 20.0f);

    // An empty list keeps the last extents.
    doc->m_moves.clear();
    Interpreted();
    EXPECT_FLOAT_EQ(view->m_xMax, 10.0f);
    EXPECT_FLOAT_EQ(view->m_yMin, -20.0f);
    EXPECT_EQ(view->m_playPos, CSimView::kNoPosition);
}

TEST_F(SimViewTest, FitScaleKeepsTheScaleWhenEveryExtentIsZero)
{
    Show();
    doc->m_moves.push_back(Segment(0, 0, 0, 0, 40, -30, 10, 0, true));
    doc->m_moves.push_back(Segment(1, 40, -30, 10, 0, 0, 0));
    Interpreted();
    ASSERT_FLOAT_EQ(view->m_xMax - view->m_xMin, 0.0f);
    const float scale = view->m_scale;
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    EXPECT_FLOAT_EQ(view->m_scale, scale);
    view->resize(kWidth - 100, kHeight - 100);
    QCoreApplication::processEvents();
    (void)Grab();
    EXPECT_FLOAT_EQ(view->m_scale, scale);
    // The rapid is still drawn where it lies.
    view->resize(kWidth, kHeight);
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    const QImage image = Grab();
    bool redSeen = false;
    for (double t = 0.1; t < 0.9; t += 0.02)
        redSeen = redSeen || ColourNear(image, Project(40 * t, -30 * t, 10 * t), kRed, 0);
    EXPECT_TRUE(redSeen);
}

TEST_F(SimViewTest, ToolpathColoursStippleAndChords)
{
    Show();
    // Feed moves of tools 3, 13 and 0 side by side, a rapid below them and
    // an arc whose chord runs from (-100, 80) to (100, 80).  Two more feed
    // moves widen the box, so that no segment under test lies on its edges
    // (the box is drawn first, and of two lines at one depth the first
    // stays).
    doc->m_moves.push_back(Segment(0, -100, -80, 0, 100, -80, 0, 3));
    doc->m_moves.push_back(Segment(1, -100, -40, 0, 100, -40, 0, 13));
    doc->m_moves.push_back(Segment(2, -100, 0, 0, 100, 0, 0, 0));
    doc->m_moves.push_back(Segment(3, -100, 40, 0, 100, 40, 0, 1, true));
    MoveRecord arc = Segment(4, -100, 80, 0, 100, 80, 0, 2);
    arc.kind = 1;
    arc.centreX = 0;
    arc.centreY = 180;
    doc->m_moves.push_back(arc);
    doc->m_moves.push_back(Segment(5, 100, 80, 0, 130, 120, 5, 1));
    doc->m_moves.push_back(Segment(6, 130, 120, 5, -130, -120, -5, 1));
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    const QImage image = Grab();
    EXPECT_TRUE(ColourNear(image, Project(33, -80, 0), kCyan));
    EXPECT_TRUE(ColourNear(image, Project(33, -40, 0), kCyan));
    EXPECT_TRUE(ColourNear(image, Project(33, 0, 0), kYellow));
    EXPECT_TRUE(ColourNear(image, Project(33, 80, 0), qRgb(255, 179, 255)));
    // The chord, not the arc: nothing between the chord and the arc's
    // nearest point (0, 39).
    EXPECT_TRUE(BlackAround(image, Project(0, 60, 0)));

    // The rapid is red and stippled one pixel on, three off.
    const QPointF left = Project(-80, 40, 0), right = Project(80, 40, 0);
    int red = 0, dark = 0;
    int row = int(std::floor(left.y()));
    for (int dy = -1; dy <= 1; ++dy)
        for (int x = int(left.x()); x < int(right.x()); ++x)
            if (Near(image.pixel(x, row + dy), kRed))
                ++red;
    for (int x = int(left.x()); x < int(right.x()); ++x) {
        bool any = false;
        for (int dy = -1; dy <= 1; ++dy)
            any = any || Near(image.pixel(x, row + dy), kRed);
        dark += any ? 0 : 1;
    }
    const int span = int(right.x()) - int(left.x());
    EXPECT_NEAR(red, span / 4, span / 20);
    EXPECT_NEAR(dark, span * 3 / 4, span / 20);
}

TEST_F(SimViewTest, VertexArraysDrawTheSamePixelsAsRecordByRecord)
{
    Show();
    Interpret(*doc, 6000);
    ASSERT_GT(doc->m_moves.size(), 1000u);
    bool hasRapid = false, hasFeed = false;
    for (const MoveRecord& record : doc->m_moves)
        (record.rapid ? hasRapid : hasFeed) = true;
    ASSERT_TRUE(hasRapid && hasFeed);
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));

    const auto compare = [&](const char* what, int atLeast = 5000) {
        view->SetBatchedDrawing(true);
        const QImage batched = Grab();
        view->SetBatchedDrawing(false);
        const QImage perRecord = Grab();
        EXPECT_GT(NonBlack(perRecord), atLeast) << what;
        EXPECT_TRUE(batched == perRecord) << what;
        return batched;
    };
    compare("default view");
    ASSERT_TRUE(Run(ID_SIM_ISOVIEW));
    view->m_scale *= 3.0f;  // segments long enough to show their stipple
    const QImage full = compare("isometric, enlarged");

    // Simulation mode draws the moves up to the current line, in both ways.
    view->m_simulating = true;
    view->m_currentLine = doc->m_moves[doc->m_moves.size() / 2].line;
    const QImage half = compare("simulating, half the program");
    EXPECT_LT(NonBlack(half), NonBlack(full));
    view->m_currentLine = -1;
    const QImage none = compare("simulating, nothing played", 500);
    EXPECT_LT(NonBlack(none), NonBlack(half));

    // A new move list (after an interpretation) is drawn, not the old one.
    view->m_simulating = false;
    view->SetBatchedDrawing(true);
    doc->m_moves.clear();
    doc->m_moves.push_back(Segment(0, 100, -30, 0, -100, 30, 0, 1));
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    const QImage fresh = Grab();
    EXPECT_TRUE(ColourNear(fresh, Project(-50, 15, 0), kGreen));
    EXPECT_LT(NonBlack(fresh), NonBlack(none));
}

}  // namespace
