// A stored tool definition repaints the simulation and nothing more: the
// arrays, the extents and the playback position stay as they were.
#include "NcDocument.h"
#include "SimFixture.h"

namespace {

TEST_F(SimViewTest, AToolChangeRepaintsWithoutRebuildingTheToolpath)
{
    Show();
    Interpret(*doc, 3000);
    Interpreted();
    PaintsOfAFrame();
    ASSERT_TRUE(view->m_batch);
    const ToolpathBatch* batch = view->m_batch.get();
    const float xMin = view->m_xMin, xMax = view->m_xMax;
    view->m_playPos = 17;

    const int paints = view->m_paints;
    doc->UpdateAllViews(nullptr, HINT_TOOLS_CHANGED);
    EXPECT_TRUE(ProcessEventsUntil([&] { return view->m_paints > paints; }));
    EXPECT_EQ(view->m_batch.get(), batch);
    EXPECT_EQ(view->m_playPos, 17u);
    EXPECT_EQ(view->m_xMin, xMin);
    EXPECT_EQ(view->m_xMax, xMax);

    // A new interpretation does rebuild.
    Interpreted();
    EXPECT_FALSE(view->m_batch);
    EXPECT_EQ(view->m_playPos, 0u);
}

}  // namespace
