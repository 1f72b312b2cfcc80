// Frames while the camera moves: drags and wheel steps draw a reduced
// level, the exact picture comes back on its own when they end, the pick
// stays exact, an idle pane does nothing, and the drawing data goes with
// its move list and its view.
#include <GL/gl.h>
#include <QFocusEvent>
#include <chrono>
#include <set>
#include <thread>

#include "MoveList.h"
#include "SimFixture.h"
#include "ToolpathReduction.h"
#include "ids.h"

namespace {

class SimReducedTest : public SimViewTest
{
protected:
    // A realistic toolpath at zoom all, the reduction built, and a budget
    // so small that every frame during an interaction draws the coarsest
    // level.
    void SetUp() override
    {
        SimViewTest::SetUp();
        Show();
        Interpret(*doc, 6000);
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        view->SetReducedFrameBudget(1.0);
        still = Grab();
        ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_reduction != nullptr; }));
        coarsest = view->m_reduction->LevelCount() - 1;
        ASSERT_LT(CoarsestSegments() * 4, Records());
    }

    size_t Records() const { return doc->m_moves.size(); }
    size_t CoarsestSegments() const { return view->m_reduction->SegmentCount(coarsest); }

    // Until the interaction has ended and the pane has drawn itself exactly
    // again, unasked.
    bool SettledAndRedrawn()
    {
        return ProcessEventsUntil(
            [this] { return !view->IsInteracting() && view->LastFrameSegments() == Records(); }, 3000);
    }
    void WaitForPaint()
    {
        const int paints = view->m_paints;
        ASSERT_TRUE(ProcessEventsUntil([&] { return view->m_paints > paints; }, 3000));
    }
    // Pixels lit in part and black in whole.
    static int LitOnlyIn(const QImage& part, const QImage& whole)
    {
        int count = 0;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                count += (part.pixel(x, y) & 0xFFFFFFu) != 0 && (whole.pixel(x, y) & 0xFFFFFFu) == 0;
        return count;
    }

    QImage still;
    size_t coarsest = 0;
};

TEST_F(SimReducedTest, ADragDrawsTheReducedLevelAndTheExactPictureReturnsAfterTheRelease)
{
    // Still frames are exact.
    EXPECT_EQ(view->LastFrameSegments(), Records());
    EXPECT_TRUE(still == PerRecord());

    Press(Qt::LeftButton, {200, 200});
    MoveTo(Qt::LeftButton, {230, 190});
    ASSERT_TRUE(view->IsInteracting());
    const QImage during = Grab();
    EXPECT_EQ(view->LastFrameSegments(), CoarsestSegments());
    const QImage reference = PerRecord();
    EXPECT_FALSE(during == reference);
    // The kept segments are records drawn as they are: nothing lights up
    // that the exact picture leaves dark, and much of it stays.
    EXPECT_EQ(LitOnlyIn(during, reference), 0);
    EXPECT_GT(NonBlack(during), NonBlack(reference) / 4);

    Release(Qt::LeftButton, {230, 190});
    EXPECT_TRUE(view->IsInteracting());
    ASSERT_TRUE(SettledAndRedrawn());
    EXPECT_TRUE(Grab() == reference);
}

TEST_F(SimReducedTest, WheelStepsDrawReducedUntilTheWheelRests)
{
    const QPoint pointer(250, 200);
    for (int step = 0; step < 3; ++step) {
        QElapsedTimer sinceStep;
        sinceStep.start();
        Wheel(view, pointer, 120);
        ASSERT_TRUE(view->IsInteracting());
        // Each step starts the wait for the exact picture again: what is
        // left of it plus the time since the step is the whole wait (less
        // the 5 % a coarse timer may take off), however long this thread
        // was held up in between.
        EXPECT_EQ(RunningTimers(view), 1);
        EXPECT_GE(view->m_settleTimer.remainingTime() + sinceStep.elapsed(), CSimView::kSettleMs * 9 / 10);
        (void)Grab();
        EXPECT_EQ(view->LastFrameSegments(), CoarsestSegments());
        QTest::qWait(CSimView::kSettleMs / 3);
    }
    ASSERT_TRUE(SettledAndRedrawn());
    EXPECT_EQ(RunningTimers(view), 0);
    EXPECT_TRUE(Grab() == PerRecord());
}

TEST_F(SimReducedTest, AHeldDragStaysReducedWithoutATimerUntilReleasedOrLost)
{
    ASSERT_TRUE(Run(ID_SIM_PAN));
    Press(Qt::LeftButton, {100, 100});
    MoveTo(Qt::LeftButton, {120, 110});
    WaitForPaint();
    EXPECT_EQ(view->LastFrameSegments(), CoarsestSegments());
    // The mouse rests with the button down: no timer, no frame.
    EXPECT_EQ(RunningTimers(view), 0);
    const int paints = view->m_paints;
    QTest::qWait(3 * CSimView::kSettleMs);
    EXPECT_TRUE(view->IsInteracting());
    EXPECT_EQ(view->m_paints, paints);

    // Losing the focus ends the drag as the release would have.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view, &out);
    EXPECT_EQ(RunningTimers(view), 1);
    ASSERT_TRUE(SettledAndRedrawn());
    Release(Qt::LeftButton, {120, 110});
    EXPECT_FALSE(view->IsInteracting());
    EXPECT_EQ(RunningTimers(view), 0);

    // So does hiding the pane.
    Press(Qt::LeftButton, {100, 100});
    MoveTo(Qt::LeftButton, {90, 95});
    frame->m_widget.hide();
    EXPECT_EQ(RunningTimers(view), 1);
    ASSERT_TRUE(ProcessEventsUntil([this] { return !view->IsInteracting(); }));
    frame->m_widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame->m_widget));
    (void)Grab();
    EXPECT_EQ(view->LastFrameSegments(), Records());
}

TEST_F(SimReducedTest, ViewCommandsAndZoomWindowsEndTheInteractionAtOnce)
{
    for (const int id : {ID_SIM_TOPVIEW, ID_SIM_ZOOMALL}) {
        Wheel(view, {250, 200}, 120);
        ASSERT_TRUE(view->IsInteracting());
        ASSERT_TRUE(Run(id));
        EXPECT_FALSE(view->IsInteracting()) << id;
        EXPECT_EQ(RunningTimers(view), 0) << id;
        (void)Grab();
        EXPECT_EQ(view->LastFrameSegments(), Records()) << id;
    }
    // The band of a zoom window moves over the reduced picture; the zoom it
    // ends in is a still picture.
    ASSERT_TRUE(Run(ID_SIM_ZOOMWINDOW));
    Press(Qt::LeftButton, {150, 150});
    MoveTo(Qt::LeftButton, {250, 230});
    (void)Grab();
    EXPECT_EQ(view->LastFrameSegments(), CoarsestSegments());
    Release(Qt::LeftButton, {300, 260});
    EXPECT_FALSE(view->IsInteracting());
    EXPECT_EQ(RunningTimers(view), 0);
    (void)Grab();
    EXPECT_EQ(view->LastFrameSegments(), Records());
    // Esc cancels a band, and with it the reduced frames.
    Press(Qt::LeftButton, {150, 150});
    MoveTo(Qt::LeftButton, {250, 230});
    ASSERT_TRUE(view->IsInteracting());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->IsInteracting());
    Release(Qt::LeftButton, {250, 230});
    EXPECT_EQ(RunningTimers(view), 0);
}

// The program line of the first hit record with a name, or -2.
int FirstNamedLine(const std::vector<unsigned>& buffer, int hits)
{
    size_t at = 0;
    for (int record = 0; record < hits && at + 3 < buffer.size(); ++record) {
        if (buffer[at] >= 1)
            return int(buffer[at + 3]);
        at += 3;
    }
    return -2;
}

TEST_F(SimReducedTest, APickDuringAnInteractionSelectsAmongEveryRecord)
{
    std::set<int> levelLines;
    view->m_reduction->ForEachSegment(coarsest, [&](size_t record, int, const float*, const float*) {
        levelLines.insert(doc->m_moves[record].line);
    });
    const auto select = [this](QPoint point) {
        std::vector<unsigned> buffer(4096, 0xDEADBEEFu);
        view->m_renderMode = GL_SELECT;
        view->makeCurrent();
        const int hits = view->SelectAt(point, buffer.data(), int(buffer.size()));
        view->doneCurrent();
        view->m_renderMode = GL_RENDER;
        buffer.push_back(unsigned(hits));
        return buffer;
    };
    std::vector<QPoint> points;
    std::vector<std::vector<unsigned>> stillHits;
    for (int y = 12; y < kHeight; y += 17)
        for (int x = 9; x < kWidth; x += 13) {
            points.emplace_back(x, y);
            stillHits.push_back(select(points.back()));
        }
    // A drag that has not moved the camera yet.
    Press(Qt::LeftButton, {5, 5});
    MoveTo(Qt::LeftButton, {5, 5});
    ASSERT_TRUE(view->IsInteracting());
    int offTheLevel = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const std::vector<unsigned> hits = select(points[i]);
        ASSERT_EQ(hits, stillHits[i]) << points[i].x() << ", " << points[i].y();
        const int line = FirstNamedLine(hits, int(hits.back()));
        offTheLevel += line >= 0 && levelLines.count(line) == 0 ? 1 : 0;
    }
    // Picks find records that the reduced frame does not draw, so a pick
    // from the reduced level would have answered differently.
    EXPECT_GT(offTheLevel, 5);
    Release(Qt::LeftButton, {5, 5});
}

TEST_F(SimReducedTest, DuringSimulationTheReducedLevelStopsAtTheCurrentLine)
{
    view->m_simulating = true;
    view->m_currentLine = doc->m_moves[Records() / 2].line;
    const size_t played = ToolpathBatch::CountUpToLine(doc->m_moves, view->m_currentLine);
    size_t kept = 0;
    view->m_reduction->ForEachSegment(coarsest, [&](size_t record, int, const float*, const float*) {
        kept += record < played ? 1 : 0;
    });
    ASSERT_GT(kept, 0u);
    ASSERT_LT(kept, CoarsestSegments());

    Press(Qt::LeftButton, {200, 200});
    MoveTo(Qt::LeftButton, {215, 200});
    const QImage during = Grab();
    EXPECT_EQ(view->LastFrameSegments(), kept);
    const QImage reference = PerRecord();
    EXPECT_EQ(LitOnlyIn(during, reference), 0);
    Release(Qt::LeftButton, {215, 200});
    ASSERT_TRUE(ProcessEventsUntil([this] { return !view->IsInteracting(); }));
    EXPECT_TRUE(Grab() == reference);
    EXPECT_EQ(view->LastFrameSegments(), played);
}

TEST_F(SimReducedTest, AnIdlePaneNeitherPaintsNorRunsATimer)
{
    Drag({100, 100}, {140, 120});
    Wheel(view, {250, 200}, -120);
    ASSERT_TRUE(SettledAndRedrawn());
    EXPECT_EQ(RunningTimers(view), 0);
    int paints = view->m_paints;
    QTest::qWait(4 * CSimView::kSettleMs);
    EXPECT_EQ(view->m_paints, paints);
    EXPECT_EQ(RunningTimers(view), 0);

    // A new list is drawn once; its reduction, which that paint starts and
    // which arrives under a still picture, changes nothing on it.
    doc->m_moves.push_back(Segment(90000, 0, 0, 0, 10, 10, 10, 4));
    Interpreted();
    ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_reduction != nullptr; }));
    QTest::qWait(2 * CSimView::kSettleMs);
    EXPECT_EQ(view->m_paints, paints + 1);
    EXPECT_EQ(RunningTimers(view), 0);
}

TEST_F(SimReducedTest, DrawingDataGoesWithItsMoveListAndWithItsView)
{
    std::weak_ptr<const ToolpathBatch> batch = view->m_batch;
    std::weak_ptr<const ToolpathReduction> reduction = view->m_reduction;
    ASSERT_FALSE(batch.expired());
    ASSERT_FALSE(reduction.expired());

    // A new list: the old arrays and levels go at once.
    const std::vector<MoveRecord> program(doc->m_moves.begin(), doc->m_moves.end());
    doc->m_moves.clear();
    for (int copy = 0; copy < 30; ++copy)
        for (const MoveRecord& record : program)
            doc->m_moves.push_back(record);
    Interpreted();
    EXPECT_TRUE(batch.expired());
    EXPECT_TRUE(reduction.expired());

    // Replaced again while its levels are built or handed over: the worker
    // stops, and what it may have posted is dropped.  (A list this long has
    // its arrays built after its first frame.)
    (void)Grab();
    ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_batch != nullptr; }));
    batch = view->m_batch;
    ASSERT_FALSE(batch.expired());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    doc->m_moves.clear();
    doc->m_moves.push_back(Segment(0, -10, 0, 0, 10, 0, 0, 1));
    Interpreted();
    EXPECT_TRUE(batch.expired());
    (void)Grab();
    ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_reduction != nullptr; }));
    EXPECT_EQ(view->m_reduction->RecordCount(), 1u);
    QTest::qWait(50);
    EXPECT_EQ(view->m_reduction->RecordCount(), 1u);

    // The view goes, and its arrays and levels with it.
    batch = view->m_batch;
    reduction = view->m_reduction;
    delete view;
    view = nullptr;
    EXPECT_TRUE(batch.expired());
    EXPECT_TRUE(reduction.expired());
}

}  // namespace
