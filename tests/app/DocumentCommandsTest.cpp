// The commands of a document window as a user gives them: saving with Ctrl+S
// and Save As, every item of the menus, bars and keys having a handler, and
// commands reaching the pane that handles them wherever the focus is.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <set>

#include "CRecentFileList.h"
#include "CStatusBar.h"
#include "CToolBar.h"
#include "WindowFixture.h"

namespace {

// The four items that no one ever handles.
bool IsLeftForLater(int id)
{
    static const std::set<int> later{
        ID_EDIT_BACKSPACE_AT_START, ID_EDIT_DRAG_DROP, ID_SIM_WIREFRAME, ID_SIM_SOLID,
    };
    return later.count(id) > 0;
}

void CollectMenuIds(const QMenu* menu, std::vector<int>& ids)
{
    for (QAction* action : menu->actions()) {
        if (action->menu())
            CollectMenuIds(action->menu(), ids);
        else if (!action->isSeparator() && action->data().toInt() != 0)
            ids.push_back(action->data().toInt());
    }
}

// Whether something on the frame's route has a command handler for id.
bool IsHandled(CMainFrame* frame, int id)
{
    CCmdUI probe = CCmdUI::Probe(id);
    return frame->OnCmdMsg(id, &probe);
}

// Every id that is neither handled nor left for later, and every id left for
// later that has a handler after all (then the list above is out of date).
std::vector<std::string> Unaccounted(CMainFrame* frame, const std::vector<int>& ids)
{
    std::vector<std::string> wrong;
    for (const int id : ids) {
        if (IsHandled(frame, id) == IsLeftForLater(id))
            wrong.push_back(std::to_string(id) + (IsLeftForLater(id) ? " has a handler now" : " has no handler"));
    }
    return wrong;
}

bool Enabled(CMainFrame* frame, int id)
{
    CCmdUI ui(id);
    frame->DoUpdate(&ui);
    return ui.m_enabled;
}

QString PaneText(CMainFrame* frame, int id)
{
    frame->OnIdleUpdateCmdUI();
    return frame->m_wndStatusBar->GetPaneText(frame->m_wndStatusBar->CommandToIndex(id));
}

TEST_F(WindowTest, CtrlSSavesTheEditedProgramAndSaveAsMovesTheDocument)
{
    CChildFrame* frame = OpenInActiveWindow();
    ASSERT_TRUE(frame);
    CTornelView* code = Code(frame);
    code->setFocus();
    QTest::keyClicks(code, "N1 ");
    ASSERT_TRUE(Doc(frame)->IsModified());
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(mainFrame->m_wndToolBar->ButtonAction(ID_FILE_SAVE)->isEnabled());

    const std::string path = dir.File("part.nc");
    QTest::keySequence(code, QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(ReadBytes(path), "N1 G00 X1\r\nG01 X5 F100");
    EXPECT_FALSE(Doc(frame)->IsModified());
    EXPECT_TRUE(prompts.empty());  // it has a name: no question

    // Save As asks for an NC file and makes the document that file.
    QTest::keyClicks(code, "G");
    promptAnswer = QString::fromStdString(dir.File("copy.nc"));
    ASSERT_TRUE(mainFrame->OnCommand(ID_FILE_SAVE_AS));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_FALSE(prompts[0].open);
    EXPECT_TRUE(prompts[0].filter.startsWith(QStringLiteral("NC Files (*.nc)")));
    EXPECT_EQ(prompts[0].defaultExt, QStringLiteral(".nc"));
    EXPECT_EQ(ReadBytes(dir.File("copy.nc")), "N1 GG00 X1\r\nG01 X5 F100");
    EXPECT_EQ(ReadBytes(path), "N1 G00 X1\r\nG01 X5 F100");
    EXPECT_EQ(Doc(frame)->GetPathName(), promptAnswer);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("copy.nc"));
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(mainFrame->windowTitle().startsWith(QStringLiteral("Tornel - copy.nc")))
        << mainFrame->windowTitle().toStdString();
    EXPECT_EQ((*app->RecentFileList())[0], promptAnswer);
    EXPECT_FALSE(Doc(frame)->IsModified());

    // A save that fails says why and keeps the changes and the name.
    QTest::keyClicks(code, "X");
    promptAnswer = QString::fromStdString(dir.File("no such folder/other.nc"));
    EXPECT_TRUE(mainFrame->OnCommand(ID_FILE_SAVE_AS));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("无法保存文件"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("No such file"))) << messages[0].toStdString();
    EXPECT_TRUE(Doc(frame)->IsModified());
    EXPECT_EQ(Doc(frame)->GetPathName(), QString::fromStdString(dir.File("copy.nc")));
    EXPECT_EQ(ReadBytes(dir.File("copy.nc")), "N1 GG00 X1\r\nG01 X5 F100");
}

TEST_F(WindowTest, SavingANewDocumentAsksForItsName)
{
    app->OnFileNew();
    QCoreApplication::processEvents();
    CChildFrame* frame = ActiveFrame();
    ASSERT_TRUE(frame);
    Code(frame)->setFocus();
    QTest::keyClicks(Code(frame), "G01 X5");
    promptAnswer = QString::fromStdString(dir.File("new.nc"));
    ASSERT_TRUE(mainFrame->OnCommand(ID_FILE_SAVE));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_FALSE(prompts[0].open);
    EXPECT_TRUE(prompts[0].initial.endsWith(QStringLiteral(".nc"))) << prompts[0].initial.toStdString();
    EXPECT_EQ(ReadBytes(dir.File("new.nc")), "G01 X5");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("new.nc"));

    // Cancelling the question saves nothing and keeps the changes.
    QTest::keyClicks(Code(frame), "1");
    app->OnFileNew();
    QCoreApplication::processEvents();
    CChildFrame* other = ActiveFrame();
    QTest::keyClicks(Code(other), "G00");
    promptAnswer.clear();
    EXPECT_TRUE(mainFrame->OnCommand(ID_FILE_SAVE));
    EXPECT_TRUE(Doc(other)->IsModified());
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, EveryMenuItemButtonAndKeyHasAHandlerOrIsLeftForLaterOnPurpose)
{
    std::vector<int> ids;
    for (const QMenu* popup : mainFrame->MenuPopups(IDR_MAINFRAME))
        CollectMenuIds(popup, ids);
    EXPECT_EQ(Unaccounted(mainFrame, ids), std::vector<std::string>{}) << "menu 128";

    CChildFrame* frame = Open("part.nc", "G00 X1\r\nG01 X5 F100");
    ASSERT_TRUE(frame);
    ids.clear();
    for (const QMenu* popup : mainFrame->MenuPopups(IDR_TORNELTYPE))
        CollectMenuIds(popup, ids);
    for (CToolBar* bar : {mainFrame->m_wndToolBar, mainFrame->m_wndSimToolBar, mainFrame->m_wndTransferToolBar})
        for (const int id : bar->ButtonIds())
            if (id != ID_SEPARATOR)
                ids.push_back(id);
    for (const auto& [key, id] : mainFrame->Accelerators())
        ids.push_back(id);
    // The same whichever pane is the active one (has the focus).
    for (CView* pane : {static_cast<CView*>(Code(frame)), static_cast<CView*>(Info(frame)),
                        static_cast<CView*>(Sim(frame))}) {
        frame->SetActiveView(pane);
        EXPECT_EQ(Unaccounted(mainFrame, ids), std::vector<std::string>{}) << typeid(*pane).name();
    }
}

TEST_F(WindowTest, CommandsReachThePaneThatHandlesThemWhereverTheFocusIs)
{
    CChildFrame* frame = OpenInActiveWindow();
    ASSERT_TRUE(frame);
    CTornelView* code = Code(frame);

    // Typing in the code, the simulation's commands and bar stay alive.
    code->setFocus();
    QTest::keyClicks(code, "N12");
    for (int id = ID_SIM_ZOOMALL; id <= ID_SIM_PAN; ++id)
        EXPECT_TRUE(Enabled(mainFrame, id)) << id;
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(mainFrame->m_wndSimToolBar->ButtonAction(ID_SIM_TOPVIEW)->isEnabled());
    EXPECT_TRUE(mainFrame->OnCommand(ID_SIM_TOPVIEW));
    CCmdUI top(ID_SIM_TOPVIEW);
    mainFrame->DoUpdate(&top);
    EXPECT_EQ(top.m_check, 1);
    EXPECT_EQ(code->GetCursorTextPos(), (TextPos{3, 0}));  // the code kept its caret

    // With the simulation turned, Ctrl+Z still undoes the typing and the
    // caret's place still shows.
    Sim(frame)->setFocus();
    QTest::mouseClick(Sim(frame), Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(QApplication::focusWidget(), Sim(frame));
    EXPECT_EQ(PaneText(mainFrame, ID_EDIT_INDICATOR_POSITION), QStringLiteral("Ln 1, Col 4"));
    EXPECT_TRUE(Enabled(mainFrame, ID_EDIT_UNDO));
    QTest::keySequence(Sim(frame), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(code->Buffer()->Line(0), "G00 X1");

    // F6 and Shift+F6 walk the panes: code, information, simulation.
    code->setFocus();
    QTest::keyClick(code, Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), Info(frame));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), Sim(frame));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Info(frame));
}

TEST_F(WindowTest, TheCaretsPaneHasRoomForTheLastLineAndTheWidestLine)
{
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += "X1\n";
    text += std::string(123456, 'Y');
    CChildFrame* frame = Open("long.nc", text);
    ASSERT_TRUE(frame);
    CStatusBar* status = mainFrame->m_wndStatusBar;
    QLabel* pane = status->PaneLabel(status->CommandToIndex(ID_EDIT_INDICATOR_POSITION));
    // At the top, and then at the end of the widest line: the pane shows the
    // whole text, and did not have to grow for it.
    EXPECT_EQ(PaneText(mainFrame, ID_EDIT_INDICATOR_POSITION), QStringLiteral("Ln 1, Col 1"));
    const int width = pane->width();
    EXPECT_GE(width, pane->fontMetrics().horizontalAdvance(QStringLiteral("Ln 1000001, Col 123457")));
    Code(frame)->SetCursorTextPos({123456, 1000000});
    EXPECT_EQ(PaneText(mainFrame, ID_EDIT_INDICATOR_POSITION), QStringLiteral("Ln 1000001, Col 123457"));
    EXPECT_EQ(pane->width(), width);
    EXPECT_GE(pane->width(), pane->sizeHint().width());
}

}  // namespace
