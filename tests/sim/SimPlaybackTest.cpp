// The playback as a user drives it: command 32808 opens the control dialog,
// its buttons are clicked and the event loop delivers what they post; timer
// 1 plays a record per tick.  And the picture that makes a tick cheap: every
// frame a tick shows is compared with the same state drawn whole, record by
// record, through camera changes, re-interpretation, slices, full screen
// and a pick.
#include <QElapsedTimer>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineF>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <array>

#include "CSimControlDlg.h"
#include "DialogUnits.h"
#include "SimControlEvent.h"
#include "SimFixture.h"
#include "ToolpathBatch.h"
#include "ids.h"

namespace {

// Counts the control events the view receives, with the last one.
class ControlEventCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == SimControlEvent::Type()) {
            const auto* control = static_cast<SimControlEvent*>(event);
            ++count;
            last = {control->Command(), control->Position()};
        }
        return false;
    }
    int count = 0;
    std::array<int32_t, 2> last{};
};

// What a paint left on the pane, and the state it showed.
struct ShownFrame
{
    int32_t line;
    int32_t tool;
    std::array<float, 3> toolPos;
    std::array<float, 3> camera;  // rotX, rotY, scale
    int32_t panX, panY;
    bool unfinished;
    QImage image;
};

class SimPlaybackTest : public SimViewTest
{
protected:
    void SetUp() override
    {
        SimViewTest::SetUp();
        Show();
        Interpret(*doc, 400);
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        view->installEventFilter(&events);
    }
    void TearDown() override
    {
        if (view)
            view->m_afterPaint = {};
        SimViewTest::TearDown();
    }

    CSimControlDlg* OpenDialog()
    {
        EXPECT_TRUE(Run(ID_SIM_START));
        return view->ControlDialog();
    }
    QPushButton* Button(int id) const
    {
        return view->ControlDialog()->findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
    }
    QSlider* Slider() const
    {
        return view->ControlDialog()->findChild<QSlider*>(QStringLiteral("slider%1").arg(IDC_SIMCTRL_SPEED));
    }
    // Clicks a button of the dialog and lets the event loop deliver what
    // it posts.
    void Click(int id)
    {
        QPushButton* button = Button(id);
        ASSERT_TRUE(button);
        const int before = events.count;
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(ProcessEventsUntil([&] { return events.count > before; }));
    }
    size_t Steps() const { return doc->m_shownLines.size(); }
    // Runs the event loop until the playback has made count more steps.
    bool PlaySteps(size_t count, int timeout = 10000)
    {
        const size_t target = Steps() + count;
        return ProcessEventsUntil([&] { return Steps() >= target; }, timeout);
    }
    // Pauses a playback and waits until the timer has stopped.
    void Pause()
    {
        ASSERT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("暂停"));
        Click(IDC_SIMCTRL_PAUSE);
        ASSERT_FALSE(view->IsPlaying());
    }
    bool ToolAt(const float* point) const
    {
        return view->m_toolPos[0] == point[0] && view->m_toolPos[1] == point[1] && view->m_toolPos[2] == point[2];
    }
    // The whole toolpath drawn record by record, out of simulation mode.
    QImage WholePath()
    {
        const bool simulating = view->m_simulating;
        view->m_simulating = false;
        const QImage image = PerRecord();
        view->m_simulating = simulating;
        return image;
    }

    // Draws, after every paint, a square standing in for the tool model: it
    // lies across the middle of the toolpath, in front of some records and
    // behind others, so that it shows whether the pane's depths are those
    // of the whole scene.
    void DrawToolStandIn()
    {
        glPushMatrix();
        glTranslatef(float(view->m_panX), float(view->m_panY), 0.0f);
        view->ApplySceneTransform();
        const float* c = view->m_centre;
        const float dx = (view->m_xMax - view->m_xMin) / 4, dy = (view->m_yMax - view->m_yMin) / 4;
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        glVertex3f(c[0] - dx, c[1] - dy, c[2]);
        glVertex3f(c[0] + dx, c[1] - dy, c[2]);
        glVertex3f(c[0] + dx, c[1] + dy, c[2]);
        glVertex3f(c[0] - dx, c[1] + dy, c[2]);
        glEnd();
        glPopMatrix();
    }
    // Keeps every frame painted from now on.
    void RecordFrames()
    {
        view->m_afterPaint = [this] {
            if (standIn)
                DrawToolStandIn();
            frames.push_back({view->m_currentLine,
                              view->m_currentTool,
                              {view->m_toolPos[0], view->m_toolPos[1], view->m_toolPos[2]},
                              {view->m_rotX, view->m_rotY, view->m_scale},
                              view->m_panX,
                              view->m_panY,
                              view->IsDrawingSlices(),
                              ReadPixels()});
        };
    }
    // Each finished frame kept is the frame of its state drawn whole,
    // record by record; the playback must be paused.  Returns how many it
    // compared.
    int ExpectFramesExact(const char* what)
    {
        view->m_afterPaint = [this] {
            if (standIn)
                DrawToolStandIn();
        };
        EXPECT_FALSE(view->IsPlaying());
        int compared = 0;
        for (size_t i = 0; i < frames.size(); ++i) {
            const ShownFrame& shown = frames[i];
            if (shown.unfinished)
                continue;
            view->m_currentLine = shown.line;
            view->m_currentTool = shown.tool;
            std::copy(shown.toolPos.begin(), shown.toolPos.end(), view->m_toolPos);
            view->m_rotX = shown.camera[0];
            view->m_rotY = shown.camera[1];
            view->m_scale = shown.camera[2];
            view->m_panX = shown.panX;
            view->m_panY = shown.panY;
            EXPECT_TRUE(SamePixels(shown.image, PerRecord())) << what << ": frame " << i << " at line " << shown.line;
            ++compared;
        }
        frames.clear();
        return compared;
    }

    ControlEventCounter events;
    std::vector<ShownFrame> frames;
    bool standIn = false;
};

TEST_F(SimPlaybackTest, TheDialogIsLaidOutInUnitsOfItsFangSongFont)
{
    CCmdUI before = Update(ID_SIM_START);
    EXPECT_TRUE(before.m_enabled);
    EXPECT_EQ(before.m_check, 0);
    CSimControlDlg* dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->objectName(), QStringLiteral("dialog%1").arg(IDD_SIMCONTROL));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("仿真控制"));
    CCmdUI after = Update(ID_SIM_START);
    EXPECT_TRUE(after.m_enabled);
    EXPECT_EQ(after.m_check, 1);

    // "仿宋_GB2312" is not on a Debian machine: a FangSong or the serif CJK
    // face stands in, at 10 points.
    const QFontInfo font(dialog->font());
    const QString family = font.family();
    EXPECT_TRUE(family.contains(QStringLiteral("Serif CJK")) || family.contains(QStringLiteral("FangSong")) ||
                family.contains(QStringLiteral("仿宋")))
        << family.toStdString();
    EXPECT_EQ(font.pointSize(), 10);

    // The layout is in the client area, inside the skinned frame when
    // there is one.
    const DialogUnits units(dialog->font());
    const QRect client = dialog->ClientRect();
    EXPECT_EQ(dialog->IsSkinned(), CSkinDialog::IsSkinEnabled());
    EXPECT_EQ(client.size(), QSize(units.X(171), units.Y(65)));
    const QPoint origin = client.topLeft();
    auto* group = dialog->findChild<QGroupBox*>();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->title(), QStringLiteral("仿真速度"));
    EXPECT_EQ(group->geometry(), units.Rect(4, 7, 160, 28).translated(origin));
    QSlider* slider = Slider();
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->geometry(), units.Rect(13, 18, 148, 12).translated(origin));
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 200);
    EXPECT_EQ(slider->value(), 200);
    EXPECT_EQ(slider->singleStep(), 1);
    EXPECT_TRUE(slider->focusPolicy() & Qt::TabFocus);
    const struct
    {
        int id;
        const char* text;
        QRect rect;
        bool enabled;
    } buttons[] = {
        {IDC_SIMCTRL_START, "开始", units.Rect(10, 42, 32, 16), true},
        {IDC_SIMCTRL_PAUSE, "暂停", units.Rect(51, 42, 32, 16), false},
        {IDC_SIMCTRL_CLOSE, "关闭", units.Rect(116, 42, 32, 16), true},
    };
    for (const auto& expected : buttons) {
        QPushButton* button = Button(expected.id);
        ASSERT_TRUE(button) << expected.id;
        EXPECT_EQ(button->text(), QString::fromUtf8(expected.text));
        EXPECT_EQ(button->geometry(), expected.rect.translated(origin)) << expected.id;
        EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.id;
    }
}

TEST_F(SimPlaybackTest, OpeningTheDialogHidesEveryRecordAboveTheCurrentLine)
{
    const QImage whole = Grab();
    ASSERT_EQ(view->m_currentLine, 0);
    OpenDialog();
    EXPECT_TRUE(view->m_simulating);
    // Nothing is posted before a button is pressed.
    QTest::qWait(50);
    EXPECT_EQ(events.count, 0);
    EXPECT_FALSE(view->IsPlaying());
    const QImage opened = Grab();
    EXPECT_EQ(view->LastFrameSegments(), ToolpathBatch::CountUpToLine(doc->m_moves, 0));
    EXPECT_LT(NonBlack(opened) + 1000, NonBlack(whole));
    EXPECT_TRUE(SamePixels(opened, PerRecord()));
}

TEST_F(SimPlaybackTest, TheSpeedIsReadFromTheSliderWhenStartOrPauseIsPressed)
{
    OpenDialog();
    Slider()->setValue(1);
    QElapsedTimer clock;
    clock.start();
    Click(IDC_SIMCTRL_START);
    EXPECT_TRUE(view->IsPlaying());
    EXPECT_EQ(view->PlaybackPeriod(), 199);
    EXPECT_EQ(events.last, (std::array<int32_t, 2>{SimControlEvent::kStart, 1}));
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("暂停"));
    EXPECT_TRUE(Button(IDC_SIMCTRL_PAUSE)->isEnabled());
    ASSERT_TRUE(PlaySteps(3));
    EXPECT_GE(clock.elapsed(), 3 * 199);

    // The slider alone posts nothing and changes nothing.
    const int posted = events.count;
    Slider()->setValue(200);
    QTest::keyClick(Slider(), Qt::Key_Left);
    EXPECT_EQ(Slider()->value(), 199);
    QTest::qWait(20);
    EXPECT_EQ(events.count, posted);
    EXPECT_EQ(view->PlaybackPeriod(), 199);

    // Pause reads it (and stops the timer), Continue reads it again.
    Click(IDC_SIMCTRL_PAUSE);
    EXPECT_EQ(events.last, (std::array<int32_t, 2>{SimControlEvent::kPause, 199}));
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("继续"));
    EXPECT_FALSE(view->IsPlaying());
    EXPECT_EQ(view->PlaybackPeriod(), -1);
    QTest::keyClick(Slider(), Qt::Key_End);
    Click(IDC_SIMCTRL_PAUSE);
    EXPECT_EQ(events.last, (std::array<int32_t, 2>{SimControlEvent::kContinue, 200}));
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("暂停"));
    EXPECT_EQ(view->PlaybackPeriod(), 0);
    EXPECT_EQ(view->ControlDialog()->LastPosition(), 200);
}

TEST_F(SimPlaybackTest, PauseAndContinueGoOnWithTheNextRecordAndStartGoesBackToTheFirst)
{
    const MoveList& moves = doc->m_moves;
    OpenDialog();
    Slider()->setValue(150);  // a record every 50 ms
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(3));
    Pause();
    const size_t played = Steps();
    ASSERT_GE(played, 3u);
    // Each step put the tool on its record's end and marked its line.
    for (size_t i = 0; i < played; ++i)
        EXPECT_EQ(doc->m_shownLines[i], moves[i].line) << i;
    EXPECT_TRUE(ToolAt(&moves[played - 1].endX));
    EXPECT_EQ(view->m_currentLine, moves[played - 1].line);
    EXPECT_EQ(view->m_currentTool, moves[played - 1].tool);
    QTest::qWait(150);
    EXPECT_EQ(Steps(), played);

    Click(IDC_SIMCTRL_PAUSE);  // "继续"
    ASSERT_TRUE(PlaySteps(1));
    EXPECT_EQ(doc->m_shownLines[played], moves[played].line);

    // Pause, then Start: the playback runs again from the first record
    // while the button still reads "继续"; the next press continues, at
    // the speed the slider has then, and reads "暂停".
    Pause();
    Click(IDC_SIMCTRL_START);
    EXPECT_TRUE(view->IsPlaying());
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("继续"));
    const size_t restart = Steps();
    ASSERT_TRUE(PlaySteps(2));
    EXPECT_EQ(doc->m_shownLines[restart], moves[0].line);
    EXPECT_EQ(doc->m_shownLines[restart + 1], moves[1].line);
    Slider()->setValue(200);
    Click(IDC_SIMCTRL_PAUSE);
    EXPECT_EQ(events.last, (std::array<int32_t, 2>{SimControlEvent::kContinue, 200}));
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("暂停"));
    EXPECT_EQ(view->PlaybackPeriod(), 0);
}

TEST_F(SimPlaybackTest, AfterTheLastRecordTheWholePathShowsAndContinueOnlyStopsAgain)
{
    doc->m_moves = MoveList();
    for (int line = 0; line < 12; ++line)
        doc->m_moves.push_back(Segment(line * 2, line * 10.0f, 0, 0, line * 10.0f + 10.0f, line * 3.0f, 0, line % 3,
                                       line % 4 == 3));
    // A tool never configured draws nothing: the paths alone are compared.
    doc->m_tools.assign(1, ToolSlot{});
    Interpreted();
    ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
    const QImage whole = WholePath();
    OpenDialog();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsPlaying(); }));
    EXPECT_EQ(Steps(), 12u);
    const MoveRecord& last = doc->m_moves[11];
    EXPECT_TRUE(ToolAt(&last.endX));
    EXPECT_EQ(view->m_currentLine, 22);
    EXPECT_TRUE(view->m_simulating);
    EXPECT_EQ(view->m_playPos, CSimView::kNoPosition);
    EXPECT_TRUE(SamePixels(Grab(), whole));
    // The button keeps its text and the dialog stays.
    EXPECT_EQ(Button(IDC_SIMCTRL_PAUSE)->text(), QStringLiteral("暂停"));

    // Pause and Continue: the timer runs again and stops at its first tick.
    Click(IDC_SIMCTRL_PAUSE);
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsPlaying(); }));
    EXPECT_EQ(Steps(), 12u);
    EXPECT_TRUE(ToolAt(&last.endX));
}

TEST_F(SimPlaybackTest, CloseShowsTheWholePathAndLeavesTheToolWhereItWas)
{
    // A tool never configured draws nothing: the paths alone are compared.
    doc->m_tools.assign(1, ToolSlot{});
    const QImage whole = Grab();
    OpenDialog();
    Slider()->setValue(190);
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(4));
    QPointer<CSimControlDlg> dialog = view->ControlDialog();
    const int posted = events.count;
    Click(IDC_SIMCTRL_CLOSE);
    const float tool[3] = {view->m_toolPos[0], view->m_toolPos[1], view->m_toolPos[2]};
    EXPECT_FALSE(view->m_simulating);
    EXPECT_FALSE(view->IsPlaying());
    EXPECT_EQ(Update(ID_SIM_START).m_check, 0);
    QTest::qWait(50);
    EXPECT_EQ(events.count, posted + 1);
    EXPECT_EQ(events.last, (std::array<int32_t, 2>{SimControlEvent::kLeave, 0}));
    EXPECT_TRUE(ToolAt(tool));
    EXPECT_TRUE(SamePixels(Grab(), whole));
    // Closed is gone.
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(view->ControlDialog(), nullptr);
}

TEST_F(SimPlaybackTest, TheWindowsCloseButtonAndEscCloseAsCloseDoes)
{
    for (const bool escape : {false, true}) {
        QPointer<CSimControlDlg> dialog = OpenDialog();
        Click(IDC_SIMCTRL_START);
        ASSERT_TRUE(PlaySteps(2));
        const int posted = events.count;
        if (escape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        ASSERT_TRUE(ProcessEventsUntil([&] { return events.count > posted; }));
        QTest::qWait(20);
        EXPECT_TRUE(dialog.isNull()) << escape;
        EXPECT_EQ(events.count, posted + 1) << escape;
        EXPECT_EQ(events.last[0], SimControlEvent::kLeave);
        EXPECT_FALSE(view->m_simulating);
        EXPECT_FALSE(view->IsPlaying());
    }
}

TEST_F(SimPlaybackTest, TheCommandAgainRaisesTheOpenDialog)
{
    const auto dialogs = [] {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += qobject_cast<CSimControlDlg*>(widget) != nullptr;
        return count;
    };
    CSimControlDlg* first = OpenDialog();
    ASSERT_TRUE(first);
    first->hide();
    EXPECT_EQ(OpenDialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(dialogs(), 1);
    Click(IDC_SIMCTRL_CLOSE);
    QTest::qWait(10);
    EXPECT_EQ(dialogs(), 0);
    CSimControlDlg* second = OpenDialog();
    ASSERT_TRUE(second);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_TRUE(view->m_simulating);
}

TEST_F(SimPlaybackTest, AReinterpretationGoesOnFromTheNewFirstRecord)
{
    OpenDialog();
    Slider()->setValue(150);
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(4));
    // A shorter program, its lines shifted.
    MoveList shorter;
    for (size_t i = 0; i < 40; ++i) {
        MoveRecord record = doc->m_moves[i + 100];
        record.line += 1000;
        shorter.push_back(record, doc->m_moves.Direction(i + 100));
    }
    doc->m_moves = std::move(shorter);
    Interpreted();
    EXPECT_EQ(view->m_playPos, 0u);
    EXPECT_EQ(view->m_playEnd, 39u);
    EXPECT_TRUE(view->IsPlaying());
    EXPECT_TRUE(view->m_simulating);
    const size_t before = Steps();
    ASSERT_TRUE(PlaySteps(2));
    EXPECT_EQ(doc->m_shownLines[before], doc->m_moves[0].line);
    EXPECT_EQ(doc->m_shownLines[before + 1], doc->m_moves[1].line);
}

TEST_F(SimPlaybackTest, AnEmptyMoveListIgnoresTheButtonsButNotClose)
{
    doc->m_moves = MoveList();
    Interpreted();
    OpenDialog();
    EXPECT_TRUE(view->m_simulating);
    Click(IDC_SIMCTRL_START);
    EXPECT_FALSE(view->IsPlaying());
    Click(IDC_SIMCTRL_PAUSE);
    Click(IDC_SIMCTRL_PAUSE);
    EXPECT_FALSE(view->IsPlaying());
    EXPECT_EQ(Steps(), 0u);
    // Closing leaves simulation mode all the same, so that the next
    // program is shown whole.
    Click(IDC_SIMCTRL_CLOSE);
    EXPECT_FALSE(view->m_simulating);

    // A list emptied under a running playback: the next tick stops it.
    Interpret(*doc, 100);
    Interpreted();
    OpenDialog();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(1));
    doc->m_moves = MoveList();
    Interpreted();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !view->IsPlaying(); }));
    EXPECT_TRUE(view->m_simulating);
}

TEST_F(SimPlaybackTest, TheViewGoingWhilePlayingTakesItsDialogWithIt)
{
    OpenDialog();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(5));
    QPointer<CSimControlDlg> dialog = view->ControlDialog();
    QPointer<QPushButton> start = Button(IDC_SIMCTRL_START);
    // Posted but not yet delivered when the view goes.
    QTest::mouseClick(Button(IDC_SIMCTRL_PAUSE), Qt::LeftButton);
    delete view;
    view = nullptr;
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(start.isNull());
    QTest::qWait(50);
}

// ---- The picture: every frame a tick shows is the frame drawn whole.

class SimPlaybackPictureTest : public SimPlaybackTest
{
protected:
    void SetUp() override
    {
        SimPlaybackTest::SetUp();
        // Larger, with rapids and arcs, and seen at an angle where records
        // cross each other.
        doc->m_moves = MoveList();
        Interpret(*doc, 3000);
        Interpreted();
        ASSERT_TRUE(Run(ID_SIM_ISOVIEW));
        ASSERT_TRUE(Run(ID_SIM_ZOOMALL));
        standIn = true;
    }
};

TEST_F(SimPlaybackPictureTest, EveryTickShowsTheFrameDrawnWholeAcrossCameraChangesAndReinterpretation)
{
    OpenDialog();
    RecordFrames();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(25));
    Pause();
    EXPECT_GE(ExpectFramesExact("from the start"), 25);

    // A camera change while playing starts the picture over.
    RecordFrames();
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(10));
    ASSERT_TRUE(Run(ID_SIM_FRONTVIEW));
    ASSERT_TRUE(PlaySteps(10));
    view->m_panX += 17;
    view->m_scale *= 1.5f;
    view->update();
    ASSERT_TRUE(PlaySteps(10));
    Pause();
    EXPECT_GE(ExpectFramesExact("across camera changes"), 30);

    // Further on, then a re-interpretation: the first records of the new
    // list, at the same camera.
    view->m_playPos = doc->m_moves.size() * 2 / 3;
    RecordFrames();
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(10));
    Pause();
    EXPECT_GE(ExpectFramesExact("further on"), 10);
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(3));
    MoveList other;
    for (size_t i = 0; i < 500; ++i) {
        MoveRecord record = doc->m_moves[i];
        record.endZ += 5.0f;
        other.push_back(record, doc->m_moves.Direction(i));
    }
    doc->m_moves = std::move(other);
    Interpreted();
    // From here on the frames are of the new list.
    RecordFrames();
    frames.clear();
    ASSERT_TRUE(PlaySteps(15));
    Pause();
    EXPECT_GE(ExpectFramesExact("across a re-interpretation"), 15);
}

TEST_F(SimPlaybackPictureTest, ADragWhilePlayingDrawsReducedFramesThenExactOnesAgain)
{
    view->SetReducedFrameBudget(1.0);
    Grab();
    ASSERT_TRUE(ProcessEventsUntil([this] { return view->m_reduction != nullptr; }));
    OpenDialog();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(2));
    Pause();
    view->m_playPos = doc->m_moves.size() / 2;
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(2));
    // The steps go on under the drag, each with its (reduced) frame.
    Press(Qt::LeftButton, {200, 200});
    size_t reducedFrames = 0;
    view->m_afterPaint = [&] {
        const size_t shown = ToolpathBatch::CountUpToLine(doc->m_moves, view->m_currentLine);
        reducedFrames += view->IsInteracting() && view->LastFrameSegments() < shown;
    };
    for (int x = 205; x <= 240; x += 5) {
        MoveTo(Qt::LeftButton, {x, 200});
        ASSERT_TRUE(PlaySteps(2));
    }
    Release(Qt::LeftButton, {240, 200});
    EXPECT_GE(reducedFrames, 5u);
    ASSERT_TRUE(ProcessEventsUntil([this] { return !view->IsInteracting(); }));
    RecordFrames();
    ASSERT_TRUE(PlaySteps(10));
    Pause();
    EXPECT_GE(ExpectFramesExact("after a drag"), 10);
}

TEST_F(SimPlaybackPictureTest, WithoutACopyOfTheDepthBufferTheBlitCarriesTheDepths)
{
    OpenDialog();
    view->m_depthCopy = ProbeSimView::DepthCopy::Unavailable;
    RecordFrames();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(10));
    ASSERT_TRUE(Run(ID_SIM_LEFTVIEW));
    ASSERT_TRUE(PlaySteps(10));
    Pause();
    EXPECT_GE(ExpectFramesExact("depths by the blit"), 20);
}

TEST_F(SimPlaybackPictureTest, ATickWaitsForItsFrameWhenThePictureIsBuiltInSlices)
{
    OpenDialog();
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(2));
    Pause();
    view->SetRecordsPerSlice(300);
    view->m_playPos = doc->m_moves.size() - 40;
    RecordFrames();
    const size_t first = Steps();
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(5));
    ASSERT_TRUE(Run(ID_SIM_TOPVIEW));
    ASSERT_TRUE(PlaySteps(5));
    Pause();
    // Each step got a finished frame before the next step came.
    std::vector<ShownFrame> kept = frames;
    int unfinished = 0;
    for (size_t step = first; step < Steps(); ++step) {
        const int32_t line = doc->m_shownLines[step];
        const bool shown = std::any_of(kept.begin(), kept.end(),
                                       [&](const ShownFrame& f) { return f.line == line && !f.unfinished; });
        EXPECT_TRUE(shown) << "step " << step << " at line " << line;
    }
    for (const ShownFrame& f : kept)
        unfinished += f.unfinished;
    // The picture of some 2000 records was built twice, 300 at a time.
    EXPECT_GE(unfinished, 10);
    EXPECT_GE(ExpectFramesExact("sliced"), 10);
}

TEST_F(SimPlaybackPictureTest, FullScreenAPickAndCloseKeepTheFramesExact)
{
    OpenDialog();
    Slider()->setValue(180);
    Click(IDC_SIMCTRL_START);
    ASSERT_TRUE(PlaySteps(5));

    // Full screen: a new context and a new size, there and back.
    RecordFrames();
    view->OnFullScreen();
    ASSERT_TRUE(view->IsFullScreen());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    ASSERT_TRUE(PlaySteps(5));
    Pause();
    EXPECT_GE(ExpectFramesExact("in full screen"), 5);
    RecordFrames();
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(2));
    view->OnFullScreen();
    ASSERT_FALSE(view->IsFullScreen());
    ASSERT_TRUE(PlaySteps(5));
    Pause();
    std::vector<ShownFrame> all = std::move(frames);
    frames.clear();
    for (ShownFrame& f : all)
        if (f.image.size() == QSize(kWidth, kHeight))
            frames.push_back(std::move(f));
    EXPECT_GE(ExpectFramesExact("back from full screen"), 5);

    // A pick on a played record in simulation mode finds no line and hides
    // the toolpath until the next step.
    const MoveList& moves = doc->m_moves;
    size_t longest = 0;
    double length = 0.0;
    for (size_t i = 0; i < Steps(); ++i) {
        const QPointF a = Project(moves[i].startX, moves[i].startY, moves[i].startZ);
        const QPointF b = Project(moves[i].endX, moves[i].endY, moves[i].endZ);
        if (QLineF(a, b).length() > length) {
            length = QLineF(a, b).length();
            longest = i;
        }
    }
    ASSERT_GT(length, 4.0);
    const MoveRecord& hit = moves[longest];
    const QPoint middle = ((Project(hit.startX, hit.startY, hit.startZ) + Project(hit.endX, hit.endY, hit.endZ)) / 2)
                              .toPoint();
    RecordFrames();
    Press(Qt::RightButton, middle);
    Release(Qt::RightButton, middle);
    EXPECT_EQ(view->m_currentLine, -1);
    Click(IDC_SIMCTRL_PAUSE);
    ASSERT_TRUE(PlaySteps(5));
    Pause();
    EXPECT_GE(ExpectFramesExact("after a pick"), 5);

    // Close: the whole path, from the picture as drawn whole.
    Click(IDC_SIMCTRL_CLOSE);
    const QImage closed = Grab();
    EXPECT_TRUE(SamePixels(closed, PerRecord()));
    EXPECT_TRUE(SamePixels(closed, WholePath()));
}

}  // namespace
