// The camera: view commands and their check marks, the drag modes, the
// wheel, the zoom window, full screen and the cursors.
#include <QKeyEvent>
#include <QSplitter>

#include "Resources.h"
#include "SimFixture.h"
#include "ids.h"

namespace {

bool SameCursor(const QCursor& a, const QCursor& b)
{
    return a.hotSpot() == b.hotSpot() && a.pixmap().toImage() == b.pixmap().toImage();
}

TEST_F(SimViewTest, ViewCommandsSetOnlyTheAnglesAndZoomAllOnlyPanAndScale)
{
    Show();
    Drag({100, 100}, {130, 90});
    view->m_panX = 17;
    view->m_panY = -9;
    view->m_scale = 2.5f;

    struct
    {
        int id;
        float rotX, rotY;
    } const views[] = {{ID_SIM_TOPVIEW, 0, 0}, {ID_SIM_FRONTVIEW, 90, 0}, {ID_SIM_LEFTVIEW, 90, 90},
                       {ID_SIM_ISOVIEW, 45, -45}};
    for (const auto& v : views) {
        ASSERT_TRUE(Run(v.id));
        EXPECT_EQ(view->m_rotX, v.rotX) << v.id;
        EXPECT_EQ(view->m_rotY, v.rotY) << v.id;
        EXPECT_EQ(view->m_panX, 17);
        EXPECT_EQ(view->m_panY, -9);
        EXPECT_FLOAT_EQ(view->m_scale, 2.5f);
        for (const auto& other : views) {
            const CCmdUI ui = Update(other.id);
            EXPECT_TRUE(ui.m_enabled);
            EXPECT_EQ(ui.m_check, other.id == v.id ? 1 : 0) << other.id << " after " << v.id;
        }
    }
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    EXPECT_EQ(view->m_panX, 0);
    EXPECT_EQ(view->m_panY, 0);
    EXPECT_FLOAT_EQ(view->m_scale, 0.95f * kHeight / 300.0f);
    EXPECT_EQ(view->m_rotX, 45.0f);
    EXPECT_EQ(view->m_rotY, -45.0f);
    // The pan base went too: the next pan drag starts from 0.
    ASSERT_TRUE(Run(ID_SIM_PAN));
    Drag({200, 200}, {205, 203});
    EXPECT_EQ(view->m_panX, 5);
    EXPECT_EQ(view->m_panY, 3);
    // Wireframe and solid display are not the view's.
    EXPECT_FALSE(Run(ID_SIM_WIREFRAME));
    EXPECT_FALSE(Run(ID_SIM_SOLID));
}

TEST_F(SimViewTest, ModeCommandsCheckTheirModeAndSetItsCursor)
{
    Show();
    EXPECT_EQ(view->m_mode, CSimView::VM_ROTATE);
    EXPECT_TRUE(SameCursor(view->cursor(), view->m_hRotateCursor));
    struct
    {
        int id;
        CSimView::ViewMode mode;
        const QCursor& cursor;
    } const modes[] = {{ID_SIM_ZOOMWINDOW, CSimView::VM_ZOOMWINDOW, view->m_hZoomWindowCursor},
                       {ID_SIM_DYNZOOM, CSimView::VM_ZOOM, view->m_hZoomCursor},
                       {ID_SIM_PAN, CSimView::VM_PAN, view->m_hPanCursor},
                       {ID_SIM_DYNROTATE, CSimView::VM_ROTATE, view->m_hRotateCursor}};
    for (const auto& m : modes) {
        ASSERT_TRUE(Run(m.id));
        EXPECT_EQ(view->m_mode, m.mode);
        EXPECT_TRUE(SameCursor(view->cursor(), m.cursor)) << m.id;
        for (const auto& other : modes)
            EXPECT_EQ(Update(other.id).m_check, other.id == m.id ? 1 : 0) << other.id << " after " << m.id;
    }
    // The five cursors are the program's own, each different.
    EXPECT_TRUE(SameCursor(view->m_hPickCursor, LoadCursorResource(IDCUR_SIM_PICK)));
    EXPECT_FALSE(view->m_hPickCursor.pixmap().isNull());
    EXPECT_FALSE(SameCursor(view->m_hPickCursor, view->m_hRotateCursor));
    EXPECT_FALSE(SameCursor(view->m_hZoomCursor, view->m_hZoomWindowCursor));
    EXPECT_FALSE(SameCursor(view->m_hPanCursor, view->m_hRotateCursor));
}

TEST_F(SimViewTest, RotateDragTurnsOneDegreePerPixelWithinAFullTurn)
{
    Show();
    // 400 pixels right from -15: 385, kept as 25; rotX untouched.
    Drag({50, 200}, {450, 200});
    EXPECT_EQ(view->m_rotY, 25.0f);
    EXPECT_EQ(view->m_rotX, 60.0f);
    // The remainder keeps the sign: 20 left from 0 is -20.  Upward adds to
    // rotX.
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    Drag({300, 200}, {280, 170});
    EXPECT_EQ(view->m_rotY, -20.0f);
    EXPECT_EQ(view->m_rotX, 30.0f);
    // Each move counts from the last one, not from the press.
    Press(Qt::LeftButton, {100, 100});
    MoveTo(Qt::LeftButton, {110, 100});
    MoveTo(Qt::LeftButton, {115, 100});
    Release(Qt::LeftButton, {115, 100});
    EXPECT_EQ(view->m_rotY, -5.0f);
    // Moving without the button does nothing.
    MoveTo(Qt::NoButton, {300, 300});
    EXPECT_EQ(view->m_rotY, -5.0f);
}

TEST_F(SimViewTest, ZoomDragScalesByPointFourPercentPerPixel)
{
    Show();
    ASSERT_TRUE(Run(ID_SIM_DYNZOOM));
    view->m_scale = 1.0f;
    Drag({200, 50}, {200, 60});
    EXPECT_FLOAT_EQ(view->m_scale, 0.96f);
    view->m_scale = 1.0f;
    Drag({200, 60}, {200, 50});
    EXPECT_FLOAT_EQ(view->m_scale, 1.04f);
    // 300 pixels down in one step: 1 - 1.2 = -0.2, kept as 0.2.
    view->m_scale = 1.0f;
    Drag({200, 50}, {200, 350});
    EXPECT_FLOAT_EQ(view->m_scale, 0.2f);
    // 250 down would reach exactly zero, from which no zoom could come
    // back: that step is dropped.
    view->m_scale = 1.0f;
    Drag({200, 50}, {200, 300});
    EXPECT_FLOAT_EQ(view->m_scale, 1.0f);
}

TEST_F(SimViewTest, PanDragFollowsTheMouseFromTheButtonDownPoint)
{
    Show();
    ASSERT_TRUE(Run(ID_SIM_PAN));
    Press(Qt::LeftButton, {100, 100});
    MoveTo(Qt::LeftButton, {130, 80});
    EXPECT_EQ(view->m_panX, 30);
    EXPECT_EQ(view->m_panY, -20);
    MoveTo(Qt::LeftButton, {140, 90});
    EXPECT_EQ(view->m_panX, 40);
    EXPECT_EQ(view->m_panY, -10);
    MoveTo(Qt::LeftButton, {100, 100});
    EXPECT_EQ(view->m_panX, 0);
    EXPECT_EQ(view->m_panY, 0);
    MoveTo(Qt::LeftButton, {110, 95});
    Release(Qt::LeftButton, {110, 95});
    // The next drag starts from where this one ended.
    Drag({300, 300}, {301, 302});
    EXPECT_EQ(view->m_panX, 11);
    EXPECT_EQ(view->m_panY, -3);
    // And the scene follows.
    doc->m_moves.push_back(Segment(0, 30, -100, 0, -30, 100, 0, 1));
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    const QImage image = Grab();
    // Where the model puts the segment with the pan, and not where it
    // would be without.
    const QPointF onSegment = Project(15, -50, 0);
    EXPECT_TRUE(ColourNear(image, onSegment, kGreen));
    EXPECT_TRUE(BlackAround(image, onSegment - QPointF(11, -3)));
}

TEST_F(SimViewTest, WheelZoomsAboutThePointUnderThePointer)
{
    Show();
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    view->m_panX = 13;
    view->m_panY = -7;
    const QPoint pointer(380, 90);
    const QPointF before = UnprojectTop(pointer);
    const float scale = view->m_scale;
    Wheel(view, pointer, 120);
    EXPECT_NEAR(view->m_scale, scale * 1.2f, 1e-4);
    QPointF after = Project(before.x(), before.y(), view->m_centre[2]);
    EXPECT_NEAR(after.x(), pointer.x(), 0.5);
    EXPECT_NEAR(after.y(), pointer.y(), 0.5);
    // Two notches back out, elsewhere.
    const QPoint other(60, 330);
    const QPointF under = UnprojectTop(other);
    Wheel(view, other, -240);
    EXPECT_NEAR(view->m_scale, scale * 1.2f / 1.44f, 1e-4);
    after = Project(under.x(), under.y(), view->m_centre[2]);
    EXPECT_NEAR(after.x(), other.x(), 0.5);
    EXPECT_NEAR(after.y(), other.y(), 0.5);
    // A pan drag after the wheel starts from the wheel's pan.
    const int panX = view->m_panX;
    ASSERT_TRUE(Run(ID_SIM_PAN));
    Drag({10, 10}, {14, 10});
    EXPECT_EQ(view->m_panX, panX + 4);
}

TEST_F(SimViewTest, ZoomWindowFillsThePaneWithTheRectangle)
{
    Show();
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    ASSERT_TRUE(Run(ID_SIM_ZOOMWINDOW));
    const float scale = view->m_scale;
    // 100 x 50 in a 500 x 400 pane: the width decides, 5 times.
    const QPointF centre = UnprojectTop(QPointF(150, 125));
    Press(Qt::LeftButton, {200, 150});
    MoveTo(Qt::LeftButton, {150, 130});
    // The rubber band is drawn while dragging.
    const QImage band = Grab();
    EXPECT_TRUE(ColourNear(band, {175, 150}, qRgb(255, 255, 255)));
    MoveTo(Qt::LeftButton, {100, 100});
    Release(Qt::LeftButton, {100, 100});
    EXPECT_NEAR(view->m_scale, scale * 5.0f, 1e-4);
    const QPointF now = Project(centre.x(), centre.y(), view->m_centre[2]);
    EXPECT_NEAR(now.x(), kWidth / 2.0, 0.5);
    EXPECT_NEAR(now.y(), kHeight / 2.0, 0.5);
    EXPECT_EQ(view->m_mode, CSimView::VM_ZOOMWINDOW);
    EXPECT_FALSE(ColourNear(Grab(), {175, 150}, qRgb(255, 255, 255)));

    // Esc while dragging cancels: nothing changes.
    const float zoomed = view->m_scale;
    const int panX = view->m_panX, panY = view->m_panY;
    Press(Qt::LeftButton, {300, 300});
    MoveTo(Qt::LeftButton, {400, 380});
    QTest::keyClick(view, Qt::Key_Escape);
    Release(Qt::LeftButton, {400, 380});
    EXPECT_FLOAT_EQ(view->m_scale, zoomed);
    EXPECT_EQ(view->m_panX, panX);
    EXPECT_EQ(view->m_panY, panY);
    // So does a right click, which then picks nothing.
    view->m_currentLine = 5;
    Press(Qt::LeftButton, {300, 300});
    MoveTo(Qt::LeftButton, {400, 380});
    Press(Qt::RightButton, {400, 380});
    Release(Qt::RightButton, {400, 380});
    Release(Qt::LeftButton, {400, 380});
    EXPECT_FLOAT_EQ(view->m_scale, zoomed);
    EXPECT_EQ(view->m_currentLine, 5);
    // A click without a drag zooms nothing.
    Drag({250, 250}, {251, 251});
    EXPECT_FLOAT_EQ(view->m_scale, zoomed);
}

TEST_F(SimViewTest, FullScreenTakesThePaneOutAndPutsItBack)
{
    // The pane as the second pane of a splitter, as in a document window.
    QSplitter splitter(Qt::Vertical, &frame->m_widget);
    auto* upper = new QWidget(&splitter);
    splitter.addWidget(upper);
    splitter.addWidget(view);
    splitter.resize(kWidth, 2 * kHeight);
    frame->m_widget.resize(kWidth, 2 * kHeight);
    frame->m_widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame->m_widget));
    splitter.setSizes({kHeight, kHeight});
    const QList<int> sizes = splitter.sizes();

    EXPECT_EQ(Update(ID_SIM_FULLSCREEN).m_check, 0);
    ASSERT_TRUE(Run(ID_SIM_FULLSCREEN));
    EXPECT_TRUE(view->IsFullScreen());
    EXPECT_EQ(Update(ID_SIM_FULLSCREEN).m_check, 1);
    EXPECT_NE(view->window(), frame->m_widget.window());
    EXPECT_TRUE(view->window()->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(splitter.indexOf(view), -1);
    QCoreApplication::processEvents();
    // It still draws there.
    EXPECT_FALSE(Grab().isNull());

    ASSERT_TRUE(Run(ID_SIM_FULLSCREEN));
    EXPECT_FALSE(view->IsFullScreen());
    EXPECT_EQ(splitter.indexOf(view), 1);
    EXPECT_EQ(splitter.sizes(), sizes);
    EXPECT_EQ(view->window(), frame->m_widget.window());

    // Esc leaves as well.
    ASSERT_TRUE(Run(ID_SIM_FULLSCREEN));
    ASSERT_TRUE(view->IsFullScreen());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->IsFullScreen());
    EXPECT_EQ(splitter.indexOf(view), 1);

    view->setParent(nullptr);  // the fixture deletes it, not the splitter
}

}  // namespace
