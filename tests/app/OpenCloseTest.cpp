// Opening a large program while the program goes on, stopping the open with
// Esc, and closing documents giving their memory back.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <fstream>
#include <cstdlib>
#include <malloc.h>
#include <string>

#include "BackgroundTask.h"
#include "CMultiDocTemplate.h"
#include "CRecentFileList.h"
#include "CStatusBar.h"
#include "CToolBar.h"
#include "NcGen.h"
#include "WindowFixture.h"

namespace {

// Bytes the allocator has handed out and not been given back.
size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The process's resident size, in bytes.
size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * size_t(sysconf(_SC_PAGESIZE));
}

std::string Program(uint64_t lines)
{
    NcGenOptions options;
    options.lines = lines;
    return GenerateNcString(options);
}

// Sends Esc to whatever has the focus, as the user's key would arrive.
void PressEscape()
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::topLevelWidgets().front();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

TEST_F(WindowTest, WhileAProgramIsReadTheWindowLivesAndShowsHowFar)
{
    const std::string path = dir.File("big.nc");
    WriteBytes(path, Program(400000));
    // What the user sees and does while the file is read: the message
    // pane's percentage, and a click that reaches its widget.
    QStringList texts;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (BackgroundTaskCount() > 0)
            texts << mainFrame->m_wndStatusBar->GetPaneText(0);
    });
    watch.start(1);
    CDocument* document = app->OpenDocumentFile(QString::fromStdString(path));
    watch.stop();
    ASSERT_TRUE(document);
    EXPECT_TRUE(timerRan);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.front().startsWith(QStringLiteral("正在打开 big.nc："))) << texts.front().toStdString();
    EXPECT_TRUE(texts.front().endsWith(QStringLiteral("%（按 Esc 取消）"))) << texts.front().toStdString();
    // Ready again afterwards, and the program is there in full.
    EXPECT_EQ(mainFrame->m_wndStatusBar->GetPaneText(0), QStringLiteral("Ready"));
    EXPECT_EQ(static_cast<CTornelDoc*>(document)->TextBuffer().LineCount(), 400001);  // the last one empty
    EXPECT_GT(static_cast<CTornelDoc*>(document)->Moves().size(), 100000u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, EscStopsAnOpenAndLeavesNothingBehind)
{
    CChildFrame* first = Open("small.nc", "G01 X5 F100\r\n");
    ASSERT_TRUE(first);
    const std::string path = dir.File("big.nc");
    WriteBytes(path, Program(600000));
    // Esc as soon as the reading has begun.
    QTimer::singleShot(0, [] { PressEscape(); });
    EXPECT_EQ(app->OpenDocumentFile(QString::fromStdString(path)), nullptr);
    // No message (the user asked for it), no window, no document; the
    // other document is untouched and the file stays a recent one.
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(app->DocTemplates().front()->Documents().size(), 1u);
    EXPECT_EQ(mainFrame->MDIClient()->subWindowList().size(), 1);
    EXPECT_EQ(ActiveFrame(), first);
    EXPECT_EQ(Doc(first)->TextBuffer().Line(0), "G01 X5 F100");
    EXPECT_TRUE(mainFrame->m_wndStatusBar->GetPaneText(0).startsWith(QStringLiteral("已取消打开")));

    // Opening it again from the recent files works; Esc is a key again.
    app->AddToRecentFileList(QString::fromStdString(path));
    app->AddToRecentFileList(QString::fromStdString(dir.File("small.nc")));
    QTimer::singleShot(0, [] { PressEscape(); });
    mainFrame->OnCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ((*app->RecentFileList())[1], QString::fromStdString(path));  // stopped, not failed: it stays
    mainFrame->OnCommand(ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(app->DocTemplates().front()->Documents().size(), 2u);
    EXPECT_EQ(Doc(ActiveFrame())->TextBuffer().LineCount(), 600001);
}

TEST_F(WindowTest, ClosingTheMainWindowWhileAFileIsReadWaitsForTheReading)
{
    const std::string path = dir.File("big.nc");
    WriteBytes(path, Program(600000));
    QPointer<CMainFrame> frame(mainFrame);
    QTimer::singleShot(0, [this] { mainFrame->close(); });
    EXPECT_EQ(app->OpenDocumentFile(QString::fromStdString(path)), nullptr);
    // The reading stopped; the frame closes (and goes) once it has.
    EXPECT_TRUE(frame);
    EXPECT_TRUE(WaitFor([&] { return frame.isNull(); }));
    mainFrame = frame;
}

TEST_F(WindowTest, ClosingDocumentsGivesTheirMemoryBack)
{
    // Opens two programs, waits until they are drawn in full (so that the
    // simulation's drawing data exists too), notes the memory, closes them.
    // An allocator of a sanitizer's own tells malloc's figures nothing.
    static void* volatile probe;
    probe = std::malloc(1 << 20);
    const bool heapReported = HeapInUse() >= size_t(1 << 20);
    std::free(probe);
    if (!heapReported)
        GTEST_SKIP() << "the allocator does not report its heap";
    const std::string text = Program(300000);
    size_t heapOpen = 0, residentOpen = 0;
    const auto openAndClose = [&] {
        std::vector<CChildFrame*> frames;
        for (const char* name : {"big.nc", "big2.nc"}) {
            CChildFrame* frame = Open(name, text);
            ASSERT_TRUE(frame);
            CSimView* sim = Sim(frame);
            ASSERT_TRUE(WaitFor(
                [&] { return sim->LastFrameSegments() == Doc(frame)->Moves().size() && !sim->IsDrawingSlices(); }));
            frames.push_back(frame);
        }
        heapOpen = HeapInUse();
        residentOpen = ResidentBytes();
        for (CChildFrame* frame : frames)
            frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        EXPECT_TRUE(app->DocTemplates().front()->Documents().empty());
    };
    // What the first such window makes once and keeps (fonts, caches, the
    // renderer's own pools) is not the document's.
    openAndClose();
    malloc_trim(0);
    const size_t heapBefore = HeapInUse();
    const size_t residentBefore = ResidentBytes();
    openAndClose();
    ASSERT_GT(heapOpen, heapBefore + 80'000'000) << "the programs should take tens of megabytes";
    // The buffer, the move list and the drawing data are freed ...
    EXPECT_LT(HeapInUse(), heapBefore + 4'000'000);
    // ... and the memory is the system's again.
    EXPECT_LT(ResidentBytes(), residentBefore + (residentOpen - residentBefore) / 4)
        << residentBefore << " " << residentOpen;
}

}  // namespace

namespace {

// Counts the timer and paint events of the whole program.
class ActivityCounter : public QObject
{
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            timers << receiver->metaObject()->className();
        else if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)
            paints << receiver->metaObject()->className();
        return false;
    }
    QStringList timers, paints;
};

TEST_F(WindowTest, AProgramLeftAloneDoesNothingAndWakesForInput)
{
    CChildFrame* frame = Open("part.nc", "G00 X1\r\nG01 X5 F100\r\n");
    ASSERT_TRUE(frame);
    // Whatever the opening set off settles: a machine busy with other
    // tests may take a while over it, so wait for a quiet 300 ms first.
    ActivityCounter counter;
    qApp->installEventFilter(&counter);
    ASSERT_TRUE(WaitFor([&] {
        counter.timers.clear();
        counter.paints.clear();
        QTest::qWait(300);
        return counter.timers.isEmpty() && counter.paints.isEmpty();
    }));
    QTest::qWait(1000);
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(counter.timers, QStringList{});
    EXPECT_EQ(counter.paints, QStringList{});

    // Input brings the bars and panes up to date by itself.
    CStatusBar* status = mainFrame->m_wndStatusBar;
    Code(frame)->setFocus();
    QTest::keyClicks(Code(frame), "N1");
    EXPECT_TRUE(WaitFor([&] {
        return status->GetPaneText(status->CommandToIndex(ID_EDIT_INDICATOR_POSITION)) ==
               QStringLiteral("Ln 1, Col 3");
    }));
    EXPECT_TRUE(mainFrame->m_wndToolBar->ButtonAction(ID_EDIT_UNDO)->isEnabled());
}

}  // namespace
