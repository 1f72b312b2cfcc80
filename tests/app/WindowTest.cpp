// The real program with its document windows: opening a program shows its
// code, its statistics and its toolpath in the three panes; the layout of a
// window; the links between an editor line and a toolpath record; a second
// window on the same document; the playback and its dialog in a window.
#include <QAbstractTextDocumentLayout>
#include <QLineEdit>
#include <QOpenGLWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

#include "CSimControlDlg.h"
#include "CToolConfigDlg.h"
#include "NcGen.h"
#include "WindowFixture.h"
#include "WorkedExample.h"

namespace {

TEST_F(WindowTest, AnOpenedProgramShowsItsCodeStatisticsAndToolpath)
{
    CChildFrame* frame = Open("example.nc", kWorkedExample);
    ASSERT_TRUE(frame);
    ASSERT_TRUE(Code(frame) && Info(frame) && Sim(frame));
    auto* doc = dynamic_cast<CTornelDoc*>(Code(frame)->GetDocument());
    ASSERT_TRUE(doc);
    EXPECT_EQ(Info(frame)->GetDocument(), doc);
    EXPECT_EQ(Sim(frame)->GetDocument(), doc);

    // The code, byte for byte.
    EXPECT_EQ(Code(frame)->Buffer(), &doc->TextBuffer());
    EXPECT_EQ(doc->TextBuffer().LineCount(), 5);
    EXPECT_EQ(doc->TextBuffer().Line(3), "N40 G02 X60 Y10 I0 J10");
    // The statistics of the worked example: 11 rapid, 6 + 50 + 15 pi feed.
    const QString info = Info(frame)->toPlainText();
    EXPECT_TRUE(info.contains(QString::fromUtf8("快速进给距离为：11.000000mm"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QString::fromUtf8("进给距离为：103.123890mm"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QString::fromUtf8("注意"))) << info.toStdString();
    // The toolpath: red rapid moves and coloured feed moves on black.
    const QImage image = Sim(frame)->grabFramebuffer();
    int red = 0, coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(255, 0, 0))
                ++red;
            else if (c != QColor(0, 0, 0))
                ++coloured;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(coloured, 50);
}

TEST_F(WindowTest, AWindowIsMaximizedSplitInThreeWithTheFocusInTheSimulation)
{
    CChildFrame* frame = Open("short.nc", "G00 X1\r\nG01 X5 F100");
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(Code(frame)->width(), CChildFrame::kCodeWidth);
    EXPECT_EQ(Info(frame)->height(), CChildFrame::kInfoHeight);
    EXPECT_GT(Sim(frame)->height(), Info(frame)->height());
    // The window system may not make the window active; the focus child is
    // what it gets when it is.
    EXPECT_EQ(mainFrame->focusWidget(), Sim(frame));
    // Both bars of the code view show, though the text fits.
    EXPECT_TRUE(Code(frame)->verticalScrollBar()->isVisible());
    EXPECT_TRUE(Code(frame)->horizontalScrollBar()->isVisible());
    // A new document too.
    app->OnFileNew();
    QCoreApplication::processEvents();
    auto* fresh = dynamic_cast<CChildFrame*>(mainFrame->MDIClient()->currentSubWindow());
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, frame);
    EXPECT_TRUE(fresh->isMaximized());
    EXPECT_EQ(mainFrame->focusWidget(), Sim(fresh));
    EXPECT_TRUE(Info(fresh)->toPlainText().contains(QString::fromUtf8("0小时0分")));
}

TEST_F(WindowTest, TheWarningLineShowsInThePaneWithoutScrolling)
{
    CChildFrame* frame = Open("warned.nc", "G00 X1\r\ng01 x5 f100\r\nG01 X5 F100\r\nG81 Z-3 R1\r\n");
    ASSERT_TRUE(frame);
    CInfoView* info = Info(frame);
    const QTextBlock warning = info->document()->findBlockByNumber(4);
    EXPECT_EQ(warning.text(), QString::fromUtf8("注意：2 行含有未解释的指令（首次出现于第 2 行）"));
    // All five lines fit the pane's 100 pixels.
    const QRectF box = info->document()->documentLayout()->blockBoundingRect(warning);
    EXPECT_LE(box.bottom(), info->viewport()->height()) << "the line ends at " << box.bottom();
    EXPECT_EQ(info->verticalScrollBar()->value(), 0);
}

TEST_F(WindowTest, EditorLinesAndToolpathRecordsPointAtEachOther)
{
    CChildFrame* frame = Open("example.nc", kWorkedExample);
    ASSERT_TRUE(frame);
    CTornelView* code = Code(frame);
    CSimView* sim = Sim(frame);
    // A click on line 2 puts the tool marker on that line's move.
    const QPoint line2 = code->TextPosToPoint({1, 2}) + QPoint(1, code->GetRowHeight() / 2);
    QTest::mouseClick(code->viewport(), Qt::LeftButton, {}, line2);
    EXPECT_EQ(sim->GetCurrentLine(), 2);
    // The simulation's pick marks its line white on green in the editor.
    auto* doc = dynamic_cast<CTornelDoc*>(code->GetDocument());
    doc->ShowLine(3);
    EXPECT_EQ(doc->TextBuffer().LineWithFlag(LINEFLAG_RUNNING), 3);
}

TEST_F(WindowTest, NewWindowOpensAllThreePanesOnTheSameDocument)
{
    CChildFrame* frame = Open("example.nc", kWorkedExample);
    ASSERT_TRUE(frame);
    ASSERT_TRUE(mainFrame->OnCommand(ID_WINDOW_NEW));
    QCoreApplication::processEvents();
    auto* second = dynamic_cast<CChildFrame*>(mainFrame->MDIClient()->currentSubWindow());
    ASSERT_TRUE(second);
    ASSERT_NE(second, frame);
    EXPECT_EQ(Code(second)->GetDocument(), Code(frame)->GetDocument());
    EXPECT_EQ(Code(second)->Buffer(), Code(frame)->Buffer());
    EXPECT_TRUE(Info(second)->toPlainText().contains(QString::fromUtf8("11.000000mm")));
    // Typing in one window shows in the other's text.
    Code(second)->setFocus();
    QTest::keyClicks(Code(second), "N5 ");
    EXPECT_EQ(Code(frame)->Buffer()->Line(0).substr(0, 3), "N5 ");
    EXPECT_TRUE(Code(frame)->GetDocument()->IsModified());
}

TEST_F(WindowTest, PlaybackMarksEachRecordsLineInTheCodeAndTheDialogGoesWithItsWindow)
{
    NcGenOptions options;
    options.lines = 3000;
    CChildFrame* frame = Open("long.nc", GenerateNcString(options));
    ASSERT_TRUE(frame);
    CSimView* sim = Sim(frame);
    CTornelView* code = Code(frame);
    const CTextBuffer& text = Doc(frame)->TextBuffer();
    ASSERT_TRUE(mainFrame->OnCommand(ID_SIM_START));
    QPointer<CSimControlDlg> dialog = sim->ControlDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), mainFrame);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDC_SIMCTRL_START)),
                      Qt::LeftButton);
    // Well down the program, the code view has followed the running line.
    ASSERT_TRUE(WaitFor([&] { return text.LineWithFlag(LINEFLAG_RUNNING) > 300; }, 60000));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDC_SIMCTRL_PAUSE)),
                      Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !sim->IsPlaying(); }));
    const int running = text.LineWithFlag(LINEFLAG_RUNNING);
    EXPECT_EQ(running, sim->GetCurrentLine());
    int marked = 0;
    for (int line = 0; line < text.LineCount(); ++line)
        marked += (text.LineFlags(line) & LINEFLAG_RUNNING) != 0;
    EXPECT_EQ(marked, 1);
    EXPECT_LE(code->GetFirstRow(), running);
    EXPECT_LT(running, code->GetFirstRow() + code->GetVisibleRows());

    // With the tool dialog open too, and a tool stored while it plays,
    // closing the window while it plays closes both dialogs.
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDC_SIMCTRL_PAUSE)),
                      Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return sim->IsPlaying(); }));
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    QPointer<CToolConfigDlg> tools = Doc(frame)->ToolDialog();
    ASSERT_TRUE(tools);
    auto* diameter = tools->findChild<QLineEdit*>(QStringLiteral("control%1").arg(IDC_TOOL_D));
    ASSERT_TRUE(diameter);
    diameter->setText(QStringLiteral("8"));
    QTest::mouseClick(tools->findChild<QPushButton*>(QStringLiteral("button%1").arg(IDOK)), Qt::LeftButton);
    ASSERT_FALSE(Doc(frame)->Interpreter().Tools().empty());
    EXPECT_EQ(Doc(frame)->Interpreter().Tools()[0].D, 8.0f);
    ASSERT_TRUE(mainFrame->OnCommand(ID_NC_CONFIGURETOOLS));
    tools = Doc(frame)->ToolDialog();
    ASSERT_TRUE(tools);
    // The playback goes on under the open dialog.
    const int line = sim->GetCurrentLine();
    ASSERT_TRUE(WaitFor([&] { return sim->GetCurrentLine() > line; }));
    EXPECT_TRUE(sim->IsPlaying());
    QPointer<CSimView> view = sim;
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(WaitFor([&] { return view.isNull(); }));
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(tools.isNull());
    QTest::qWait(50);
}

}  // namespace
