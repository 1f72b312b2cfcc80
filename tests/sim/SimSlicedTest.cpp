// Still frames of long toolpaths: drawn a slice per paint with the program
// answering in between, adding up to the frame drawn at once, starting over
// when the scene changes; and a new long toolpath first shown without it.
#include <QTimer>

#include "SimFixture.h"
#include "ids.h"

namespace {

class SimSlicedTest : public SimViewTest
{
protected:
    void SetUp() override
    {
        SimViewTest::SetUp();
        Show();
        Interpret(*doc, 6000);
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        ASSERT_GT(Records(), 1000u);
        // Five slices or so to a frame.
        view->SetRecordsPerSlice(Records() / 5 + 1);
        view->update();
        ASSERT_TRUE(ProcessEventsUntil([&] { return view->m_batch != nullptr && !view->IsDrawingSlices(); }));
    }

    size_t Records() const { return doc->m_moves.size(); }
};

TEST_F(SimSlicedTest, AStillFrameBuildsUpSliceBySliceToTheFrameDrawnAtOnce)
{
    // Turned to the front, the frame starts over and builds up a slice per
    // paint, the program handling its events in between.
    ASSERT_TRUE(Run(ID_SIM_FRONTVIEW));
    const QImage front = PerRecord();
    const int first = view->m_paints;
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->IsDrawingSlices(); }));
    bool handledMeanwhile = false;
    QTimer::singleShot(0, [&] { handledMeanwhile = view->IsDrawingSlices(); });
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsDrawingSlices(); }));
    EXPECT_GE(view->m_paints - first, 5);
    EXPECT_TRUE(handledMeanwhile);
    EXPECT_EQ(view->LastFrameSegments(), Records());
    EXPECT_TRUE(SamePixels(Shown(), front));

    // Once built, the frame is shown again in one paint.
    EXPECT_EQ(PaintsOfAFrame(), 1);
    EXPECT_TRUE(SamePixels(Shown(), front));

    // The same from the top, and in simulation up to a line.
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    const QImage top = PerRecord();
    EXPECT_GE(PaintsOfAFrame(), 5);
    EXPECT_TRUE(SamePixels(Shown(), top));
    view->m_simulating = true;
    view->m_currentLine = doc->m_moves[Records() * 3 / 4].line;
    const QImage prefix = PerRecord();
    EXPECT_GE(PaintsOfAFrame(), 4);
    EXPECT_TRUE(SamePixels(Shown(), prefix));
}

TEST_F(SimSlicedTest, ASceneChangedHalfWayStartsTheFrameOver)
{
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->IsDrawingSlices(); }));
    // Turned to the front after the first slice: what ends up on the pane is the front
    // view alone, with nothing left of the first one.
    ASSERT_TRUE(Run(ID_SIM_FRONTVIEW));
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsDrawingSlices(); }));
    EXPECT_TRUE(SamePixels(Shown(), PerRecord()));

    // Likewise a pan and a new size of the pane.
    ASSERT_TRUE(Run(ID_SIM_ISOVIEW));
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->IsDrawingSlices(); }));
    view->m_panX += 30;
    view->update();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->IsDrawingSlices(); }));
    frame->m_widget.resize(kWidth - 60, kHeight - 40);
    view->resize(kWidth - 60, kHeight - 40);
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->m_paints > 0 && !view->IsDrawingSlices(); }));
    EXPECT_TRUE(SamePixels(Shown(), PerRecord()));

    // A frame that is done stays as it is: nothing more is drawn.
    QTest::qWait(20);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsDrawingSlices(); }));
    const int done = view->m_paints;
    QTest::qWait(100);
    EXPECT_EQ(view->m_paints, done);
}

TEST_F(SimSlicedTest, ANewLongToolpathShowsTheSceneFirstAndTheToolpathAfter)
{
    ASSERT_TRUE(view->m_batch != nullptr);
    // A new list: its arrays are not built yet.
    doc->m_moves.push_back(Segment(99999, 0, 0, 0, 1, 1, 1));
    Interpreted();
    ASSERT_TRUE(view->m_batch == nullptr);
    const QImage first = Grab();
    EXPECT_EQ(view->LastFrameSegments(), 0u);
    EXPECT_TRUE(view->m_batch == nullptr);
    // The box and the axes are there; the toolpath is not.
    EXPECT_GT(NonBlack(first), 100);

    // Then it comes by itself, whole.
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->m_batch != nullptr && !view->IsDrawingSlices(); }));
    EXPECT_EQ(view->LastFrameSegments(), Records());
    const QImage whole = PerRecord();
    EXPECT_TRUE(SamePixels(Shown(), whole));
    EXPECT_GT(NonBlack(whole), NonBlack(first) + 1000);
}

}  // namespace
