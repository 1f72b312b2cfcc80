// The right-button pick and the tool marker.
#include <algorithm>
#include <GL/gl.h>

#include "SimFixture.h"
#include "ids.h"

namespace {

class SimPickTest : public SimViewTest
{
protected:
    // Feed moves and a rapid in the top view, inside the box.
    void SetUp() override
    {
        SimViewTest::SetUp();
        Show();
        doc->m_moves.push_back(Segment(3, 0, 0, 0, -100, -50, 0, 0, true));
        doc->m_moves.push_back(Segment(7, -100, -50, 0, 100, -50, 0, 2));
        doc->m_moves.push_back(Segment(9, 100, -50, 0, 100, 50, -10, 4));
        doc->m_moves.push_back(Segment(9, 100, 50, -10, -100, 50, -10, 5));
        // These two only widen the box.
        doc->m_moves.push_back(Segment(11, -100, 50, -10, -150, -100, 20, 1));
        doc->m_moves.push_back(Segment(12, -150, -100, 20, 150, 100, 20, 1));
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        view->m_scale *= 0.8f;
        ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
        (void)Grab();
    }
    void RightClick(QPointF point)
    {
        Press(Qt::RightButton, point.toPoint());
        Release(Qt::RightButton, point.toPoint());
    }
};

TEST_F(SimPickTest, RightClickOnAFeedSegmentSelectsItsLine)
{
    ASSERT_TRUE(Run(ID_SIM_PAN));
    Press(Qt::RightButton, Project(30, -50, 0).toPoint());
    // While the button is held: the pick cursor, GL_SELECT, rotate mode.
    EXPECT_EQ(view->m_renderMode, 0x1C02u);
    EXPECT_EQ(view->m_mode, CSimView::VM_ROTATE);
    EXPECT_EQ(view->cursor().pixmap().toImage(), view->m_hPickCursor.pixmap().toImage());
    Release(Qt::RightButton, Project(30, -50, 0).toPoint());
    EXPECT_EQ(view->m_renderMode, 0x1C00u);
    EXPECT_EQ(view->cursor().pixmap().toImage(), view->m_hRotateCursor.pixmap().toImage());

    EXPECT_EQ(view->m_currentLine, 7);
    EXPECT_EQ(view->m_currentTool, 2);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], -100.0f);  // the start point
    EXPECT_FLOAT_EQ(view->m_toolPos[1], -50.0f);
    EXPECT_FLOAT_EQ(view->m_toolPos[2], 0.0f);
    EXPECT_EQ(doc->m_shownLines, std::vector<int>{7});

    // The marker goes to the first record of a line: line 9 has two.
    RightClick(Project(-20, 50, -10));
    EXPECT_EQ(view->m_currentLine, 9);
    EXPECT_EQ(view->m_currentTool, 4);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], 100.0f);
    EXPECT_FLOAT_EQ(view->m_toolPos[1], -50.0f);
    EXPECT_EQ(doc->m_shownLines, (std::vector<int>{7, 9}));

    // Rapids carry their line too.
    RightClick(Project(-50, -25, 0));
    EXPECT_EQ(view->m_currentLine, 3);
    EXPECT_EQ(doc->m_shownLines, (std::vector<int>{7, 9, 3}));
}

TEST_F(SimPickTest, RightClickOnNothingOrOnTheBoxChangesNoLine)
{
    view->m_currentLine = 7;
    view->m_toolPos[0] = 1.0f;
    ASSERT_TRUE(Run(ID_SIM_DYNZOOM));
    ASSERT_TRUE(BlackAround(Grab(), Project(-30, 20, 0)));
    RightClick(Project(-30, 20, 0));  // empty middle of the toolpath
    // Far corner of the box, away from any segment.
    view->m_scale *= 0.5f;
    (void)Grab();
    const QPointF boxEdge = Project(0, view->m_yMax, view->m_zMax);
    ASSERT_TRUE(ColourNear(Grab(), boxEdge, kBlue));
    RightClick(boxEdge);
    // The axis indicator.
    RightClick({42 + 20, kHeight - 42});
    EXPECT_EQ(view->m_currentLine, 7);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], 1.0f);
    EXPECT_TRUE(doc->m_shownLines.empty());
    // The mode is still forced back to rotate.
    EXPECT_EQ(view->m_mode, CSimView::VM_ROTATE);
}

TEST_F(SimPickTest, WhileSimulatingAPickFindsOnlyThePlaceholder)
{
    view->m_simulating = true;
    view->m_currentLine = 9;
    RightClick(Project(30, -50, 0));
    EXPECT_EQ(view->m_currentLine, -1);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], 0.0f);
    EXPECT_TRUE(doc->m_shownLines.empty());
    // Nothing is drawn until the playback sets a line again.
    EXPECT_TRUE(BlackAround(Grab(), Project(30, -50, 0)));
}

TEST_F(SimPickTest, SelectMoveByLinePutsTheMarkerOnTheLinesFirstStart)
{
    CMoveSelectionView* selection = view;
    selection->SelectMoveByLine(9);
    EXPECT_EQ(view->m_currentLine, 9);
    EXPECT_EQ(view->m_currentTool, 4);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], 100.0f);
    EXPECT_FLOAT_EQ(view->m_toolPos[1], -50.0f);
    EXPECT_FLOAT_EQ(view->m_toolPos[2], 0.0f);
    // A line without a move changes nothing.
    selection->SelectMoveByLine(8);
    EXPECT_EQ(view->m_currentLine, 9);
    EXPECT_FLOAT_EQ(view->m_toolPos[0], 100.0f);
    // Not a pick: the code view is not told.
    EXPECT_TRUE(doc->m_shownLines.empty());
}

// Forty segments through one point fill the 64-word select buffer, which
// GL reports as -1 hits; the records that fit still name the first.
TEST_F(SimViewTest, APickOnADenseToolpathStillFindsTheFirstSegment)
{
    Show();
    for (int i = 0; i < 40; ++i) {
        const double angle = 3.14159265358979323846 * i / 40.0;
        const float dx = float(80 * std::cos(angle)), dy = float(80 * std::sin(angle));
        doc->m_moves.push_back(Segment(100 + i, -dx, -dy, 0, dx, dy, 0, 1));
    }
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    (void)Grab();
    const QPoint centre = Project(0, 0, 0).toPoint();
    Press(Qt::RightButton, centre);
    Release(Qt::RightButton, centre);
    EXPECT_EQ(view->m_currentLine, 100);
    EXPECT_EQ(doc->m_shownLines, std::vector<int>{100});
}

// A pick draws only the records that may cross its window.  Its hit records
// must be word for word those of drawing every record, on a tangle of long
// and short segments and arcs in 3-D, with picks on and between them.
TEST_F(SimViewTest, APickMakesTheHitRecordsOfDrawingEveryRecord)
{
    Show();
    uint32_t seed = 12345;
    const auto next = [&seed](float range) {
        seed = seed * 1664525u + 1013904223u;
        return (float(seed >> 8) / float(1 << 24) * 2.0f - 1.0f) * range;
    };
    float x = 0, y = 0, z = 0;
    for (int i = 0; i < 3000; ++i) {
        // Mostly short steps, now and then a long jump across the part.
        const float reach = i % 50 == 0 ? 100.0f : 4.0f;
        const float nx = std::clamp(x + next(reach), -100.0f, 100.0f);
        const float ny = std::clamp(y + next(reach), -80.0f, 80.0f);
        const float nz = std::clamp(z + next(reach / 4), -20.0f, 20.0f);
        MoveRecord record = Segment(i, x, y, z, nx, ny, nz, i % 7, i % 50 == 0);
        // Every sixth an arc round a centre off the chord's middle, which
        // bulges far from its chord and may end off its circle.
        ArcDirection direction = ARC_NONE;
        if (i % 6 == 3) {
            record.kind = 1;
            record.centreX = (x + nx) / 2 + next(15.0f);
            record.centreY = (y + ny) / 2 + next(15.0f);
            direction = i % 12 == 3 ? ARC_CLOCKWISE : ARC_COUNTERCLOCKWISE;
        }
        doc->m_moves.push_back(record, direction);
        x = nx, y = ny, z = nz;
    }
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    ASSERT_TRUE(Run(ID_SIM_ISOVIEW));
    (void)Grab();
    const auto select = [this](QPoint point, bool culled) {
        std::vector<unsigned> buffer(4096, 0xDEADBEEFu);
        view->SetBatchedDrawing(culled);
        view->m_renderMode = GL_SELECT;
        view->makeCurrent();
        const int hits = view->SelectAt(point, buffer.data(), int(buffer.size()));
        view->doneCurrent();
        view->m_renderMode = GL_RENDER;
        buffer.push_back(unsigned(hits));
        return buffer;
    };
    int picksWithHits = 0;
    for (int py = 10; py < kHeight; py += 23)
        for (int px = 7; px < kWidth; px += 19) {
            const QPoint point(px, py);
            const std::vector<unsigned> all = select(point, false);
            ASSERT_EQ(select(point, true), all) << "at " << px << ", " << py;
            picksWithHits += all.back() != 0 ? 1 : 0;
        }
    // Many picks land on the toolpath, more beside it.
    EXPECT_GT(picksWithHits, 50);
    EXPECT_LT(picksWithHits, 22 * 27);
}

}  // namespace
