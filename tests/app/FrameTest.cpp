// The main frame: the command route, toolbars, status bar, accelerators,
// dropped files, the Window commands and closing with changes.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QStatusTipEvent>
#include <QUrl>

#include "CAboutDlg.h"
#include "CStatusBar.h"
#include "CToolBar.h"
#include "ShellFixture.h"
#include "TempDir.h"

namespace {

TEST_F(ShellTest, CommandsGoViewDocumentChildMainFrameApplication)
{
    StartWithTemplate();
    app->OnFileNew();
    ASSERT_NE(mainFrame->MDIGetActive(), nullptr);
    for (int id = ID_TEST_VIEW; id <= ID_TEST_NOBODY; ++id)
        EXPECT_EQ(mainFrame->OnCommand(id), id != ID_TEST_NOBODY);
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"view 9001", "doc 9002", "child 9003", "main 9004", "app 9005"}));

    // Updates take the same route; an id nobody handles is disabled.
    CCmdUI handled(ID_TEST_APP), unhandled(ID_TEST_NOBODY);
    unhandled.m_enabled = true;
    mainFrame->DoUpdate(&handled);
    mainFrame->DoUpdate(&unhandled);
    EXPECT_TRUE(handled.m_enabled);
    EXPECT_FALSE(unhandled.m_enabled);

    // Without a document window the route starts at the main frame.
    mainFrame->MDIGetActive()->close();
    ASSERT_TRUE(WaitFor([&] { return mainFrame->MDIGetActive() == nullptr; }));
    RouteLog().clear();
    for (int id = ID_TEST_VIEW; id <= ID_TEST_APP; ++id)
        mainFrame->OnCommand(id);
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"main 9001", "main 9002", "main 9003", "main 9004", "app 9005"}));
}

TEST_F(ShellTest, TheFocusedViewIsTheActiveOne)
{
    StartWithTemplate();
    app->OnFileNew();
    app->OnFileNew();
    const QList<QMdiSubWindow*> windows = mainFrame->MDIClient()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    mainFrame->MDIClient()->setActiveSubWindow(windows[0]);
    auto* first = dynamic_cast<CMDIChildWnd*>(windows[0]);
    EXPECT_EQ(mainFrame->MDIGetActive(), first);
    EXPECT_EQ(first->GetActiveDocument()->GetTitle(), QStringLiteral("Tornel1"));
    EXPECT_EQ(mainFrame->windowTitle(), QStringLiteral("Tornel - Tornel1"));
}

TEST_F(ShellTest, NewAndOpenNeedADocumentTemplate)
{
    ASSERT_TRUE(Start());
    CCmdUI newItem(ID_FILE_NEW), openItem(ID_FILE_OPEN), aboutItem(ID_APP_ABOUT);
    mainFrame->DoUpdate(&newItem);
    mainFrame->DoUpdate(&openItem);
    mainFrame->DoUpdate(&aboutItem);
    EXPECT_FALSE(newItem.m_enabled);
    EXPECT_FALSE(openItem.m_enabled);
    EXPECT_TRUE(aboutItem.m_enabled);

    app->AddDocTemplate(MakeTestTemplate());
    mainFrame->DoUpdate(&newItem);
    mainFrame->DoUpdate(&openItem);
    EXPECT_TRUE(newItem.m_enabled);
    EXPECT_TRUE(openItem.m_enabled);

    // Open asks for an NC file first, other NC programs next and every file
    // last; a name typed without an extension is taken as it is.
    WriteBytes("shaft.nc", "G01 Z-1\n");
    promptAnswer = QStringLiteral("shaft.nc");
    EXPECT_TRUE(mainFrame->OnCommand(ID_FILE_OPEN));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_TRUE(prompts[0].open);
    EXPECT_EQ(prompts[0].filter.split(QStringLiteral(";;")),
              QStringList({QStringLiteral("NC Files (*.nc)"),
                           QStringLiteral("其他 NC 程序 (*.ngc *.tap *.cnc *.nc1 *.mpf *.eia *.gcode *.txt)"),
                           QStringLiteral("所有文件 (*)")}));
    EXPECT_TRUE(prompts[0].defaultExt.isEmpty());
    ASSERT_NE(mainFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(mainFrame->MDIGetActive()->windowTitle(), QStringLiteral("shaft.nc"));

    // Cancelling the prompt opens nothing.
    promptAnswer.clear();
    mainFrame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(app->DocTemplates().front()->Documents().size(), 1u);
}

TEST_F(ShellTest, TheDefaultExtensionNamesNewFilesOnly)
{
    // A program saved by a control often has no extension at all: typed in
    // full into the open dialog, it is that file, not one with ".nc" added.
    WriteBytes("O1234", "G01 X1\n");
    const QString existing = QFileInfo(QStringLiteral("O1234")).absoluteFilePath();
    const auto open = MakeFileDialog({true, QStringLiteral("打开"), QStringLiteral("NC Files (*.nc)"), QString(), QString()},
                                     nullptr);
    open->setOption(QFileDialog::DontUseNativeDialog);
    open->selectFile(existing);
    EXPECT_EQ(open->selectedFiles(), QStringList{existing});

    // Even when the caller asks for one, the open dialog adds none; the save
    // dialog does.
    const auto stillOpen = MakeFileDialog({true, QStringLiteral("打开"), QStringLiteral("NC Files (*.nc)"),
                                          QStringLiteral(".nc"), QString()},
                                         nullptr);
    stillOpen->setOption(QFileDialog::DontUseNativeDialog);
    stillOpen->selectFile(existing);
    EXPECT_EQ(stillOpen->selectedFiles(), QStringList{existing});
    const auto save = MakeFileDialog({false, QStringLiteral("另存为"), QStringLiteral("NC Files (*.nc)"),
                                      QStringLiteral(".nc"), QString()},
                                     nullptr);
    save->setOption(QFileDialog::DontUseNativeDialog);
    const QString fresh = QFileInfo(QStringLiteral("bracket")).absoluteFilePath();
    save->selectFile(fresh);
    EXPECT_EQ(save->selectedFiles(), QStringList{fresh + QStringLiteral(".nc")});
}

TEST_F(ShellTest, QtsOwnDialogsSpeakChineseAndPrintSetupPrintsNothing)
{
    ASSERT_TRUE(Start());
    // Qt's texts come in the interface's language.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));

    // Print Setup chooses a printer; its button says so and nothing prints.
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->isVisible())
                buttons << button->text();
        dialog->accept();
    });
    EXPECT_TRUE(mainFrame->OnCommand(ID_FILE_PRINT_SETUP));
    EXPECT_TRUE(buttons.contains(QStringLiteral("确定"))) << buttons.join(u'|').toStdString();
    for (const QString& text : buttons) {
        EXPECT_FALSE(text.contains(QStringLiteral("打印"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Print"))) << text.toStdString();
    }
}

TEST_F(ShellTest, ThreeToolbarsWithTheirButtonsOnTwoRows)
{
    ASSERT_TRUE(Start());
    mainFrame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainFrame));
    CToolBar* standard = mainFrame->m_wndToolBar;
    CToolBar* simulation = mainFrame->m_wndSimToolBar;
    CToolBar* transfer = mainFrame->m_wndTransferToolBar;
    EXPECT_EQ(standard->ButtonIds(), (std::vector<int>{57600, 57601, 57603, 57607, 0, 57635, 57634, 57637, 0, 57643,
                                                       57644, 0, 57636, 57640, 37126, 57641, 0, 37223, 37224, 37225,
                                                       37226}));
    EXPECT_EQ(simulation->ButtonIds(),
              (std::vector<int>{32811, 32812, 0, 32819, 0, 32818, 32817, 0, 32813, 32815, 32814, 32816, 0, 32808}));
    EXPECT_EQ(transfer->ButtonIds(), (std::vector<int>{32821, 32801, 0, 32805, 0, 32806}));
    EXPECT_EQ(standard->iconSize(), QSize(16, 15));
    EXPECT_EQ(simulation->iconSize(), QSize(21, 21));
    EXPECT_EQ(transfer->iconSize(), QSize(21, 21));
    for (CToolBar* bar : {standard, simulation, transfer})
        EXPECT_EQ(bar->GetDlgCtrlID(), AFX_IDW_TOOLBAR);

    // Tips and prompts come from the string table.
    EXPECT_EQ(transfer->ButtonAction(32821)->toolTip(), QStringLiteral("传输文件到机床"));
    EXPECT_EQ(transfer->ButtonAction(32821)->statusTip(), QStringLiteral("传输文件到机床"));
    EXPECT_EQ(simulation->ButtonAction(32816)->toolTip(), QStringLiteral("等轴视"));
    EXPECT_EQ(standard->ButtonAction(57600)->toolTip(), QStringLiteral("新建"));

    // The standard bar alone on the first row; transfer, then simulation,
    // on the second.
    const QRect s = standard->geometry(), t = transfer->geometry(), m = simulation->geometry();
    EXPECT_EQ(mainFrame->toolBarArea(standard), Qt::TopToolBarArea);
    EXPECT_LT(s.bottom(), t.top());
    EXPECT_EQ(t.top(), m.top());
    EXPECT_GT(m.left(), t.right());

    // With no document, the buttons of the document's and views' commands
    // are disabled.
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(transfer->ButtonAction(32821)->isEnabled());
    EXPECT_FALSE(standard->ButtonAction(57603)->isEnabled());
}

TEST_F(ShellTest, StatusBarPanesAndTheirUpdates)
{
    StartWithTemplate();
    auto* status = dynamic_cast<CStatusBar*>(mainFrame->GetControlBar(AFX_IDW_STATUS_BAR));
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->GetCount(), 9);
    const int ids[] = {0, 37902, 37900, 37901, 37903, 59140, 59137, 59138, 59139};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(status->GetItemID(i), ids[i]);
    EXPECT_EQ(status->GetPaneText(0), QStringLiteral("Ready"));
    // Widths follow the panes' strings: 7, 10 and 18 blanks.
    const int crlf = status->PaneLabel(1)->width(), state = status->PaneLabel(2)->width(),
              position = status->PaneLabel(4)->width();
    EXPECT_LT(crlf, state);
    EXPECT_LT(state, position);

    // Nobody fills the panes yet: they show nothing.
    mainFrame->OnIdleUpdateCmdUI();
    for (int i = 1; i < 9; ++i)
        EXPECT_EQ(status->GetPaneDisplayText(i), QString()) << i;

    // A view that answers for a pane fills it while it is active.
    app->OnFileNew();
    mainFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(status->GetPaneDisplayText(4), QStringLiteral("Ln 7, Col 3"));

    // Prompts of items go to the message pane; "Ready" when they leave.
    QStatusTipEvent tip(QStringLiteral("打开一个现有文档"));
    QApplication::sendEvent(mainFrame, &tip);
    EXPECT_EQ(status->GetPaneText(0), QStringLiteral("打开一个现有文档"));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(mainFrame, &none);
    EXPECT_EQ(status->GetPaneText(0), QStringLiteral("Ready"));
}

TEST_F(ShellTest, MainAcceleratorsSendTheirCommands)
{
    StartWithTemplate();
    const std::vector<std::pair<QKeySequence, int>> expected{
        {QKeySequence(Qt::CTRL | Qt::Key_N), 57600},      {QKeySequence(Qt::CTRL | Qt::Key_O), 57601},
        {QKeySequence(Qt::CTRL | Qt::Key_S), 57603},      {QKeySequence(Qt::CTRL | Qt::Key_P), 57607},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), 57643},      {QKeySequence(Qt::CTRL | Qt::Key_X), 57635},
        {QKeySequence(Qt::CTRL | Qt::Key_C), 57634},      {QKeySequence(Qt::CTRL | Qt::Key_V), 57637},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), 57643}, {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 57635},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), 57634}, {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 57637},
        {QKeySequence(Qt::Key_F6), 57680},                {QKeySequence(Qt::SHIFT | Qt::Key_F6), 57681},
    };
    EXPECT_EQ(mainFrame->Accelerators(), expected);

    UseCatchAllView() = true;
    app->OnFileNew();
    mainFrame->show();
    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame));
    auto* view = dynamic_cast<QWidget*>(mainFrame->MDIGetActive()->GetActiveView());
    view->setFocus();
    RouteLog().clear();
    std::vector<std::string> sent;
    for (const auto& [key, id] : expected) {
        QTest::keySequence(view, key);
        sent.push_back("any " + std::to_string(id));
    }
    EXPECT_EQ(RouteLog(), sent);

    // A key does nothing while its command is disabled.
    UseCatchAllView() = false;
    mainFrame->MDIGetActive()->close();
    ASSERT_TRUE(WaitFor([&] { return mainFrame->MDIGetActive() == nullptr; }));
    RouteLog().clear();
    QTest::keySequence(mainFrame, QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(RouteLog().empty());
}

TEST_F(ShellTest, FilesDroppedOnTheFrameAreOpened)
{
    StartWithTemplate();
    WriteBytes("dropped.nc", "G00 X1\n");
    WriteBytes("also.nc", "G00 X2\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QDir::current().absoluteFilePath("dropped.nc")),
                  QUrl::fromLocalFile(QDir::current().absoluteFilePath("also.nc")),
                  QUrl(QStringLiteral("https://example.org/remote.nc"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainFrame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainFrame, &drop);
    const auto& documents = app->DocTemplates().front()->Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0]->GetPathName(), QDir::current().absoluteFilePath("dropped.nc"));
    EXPECT_EQ(documents[1]->GetPathName(), QDir::current().absoluteFilePath("also.nc"));

    // Text is not a file.
    QMimeData text;
    text.setText(QStringLiteral("G01 X5"));
    QDragEnterEvent textEnter(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    textEnter.ignore();
    QApplication::sendEvent(mainFrame, &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
}

TEST_F(ShellTest, NewWindowShowsTheSameDocumentAndTheLastOneAsksToSave)
{
    StartWithTemplate();
    app->OnFileNew();
    CDocument* document = mainFrame->MDIGetActive()->GetActiveDocument();
    ASSERT_TRUE(mainFrame->OnCommand(ID_WINDOW_NEW));
    const QList<QMdiSubWindow*> windows = mainFrame->MDIClient()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(dynamic_cast<CMDIChildWnd*>(windows[1])->GetActiveDocument(), document);
    EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("Tornel1:1"));
    EXPECT_EQ(windows[1]->windowTitle(), QStringLiteral("Tornel1:2"));

    // Closing one of two windows asks nothing.
    document->SetModifiedFlag(true);
    QPointer<QMdiSubWindow> second = windows[1];
    second->close();
    ASSERT_TRUE(WaitFor([&] { return second.isNull(); }));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("Tornel1"));

    // The last one asks; Cancel keeps it.
    answer = IDCANCEL;
    windows[0]->close();
    QTest::qWait(20);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Tornel1")));
    EXPECT_EQ(mainFrame->MDIClient()->subWindowList().size(), 1);

    // Yes saves under a name the user gives.
    answer = IDYES;
    promptAnswer = QDir::current().absoluteFilePath("saved.nc");
    windows[0]->close();
    // The test document writes nothing, so the save fails and says so.
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[2].contains(QStringLiteral("saved.nc")));
    EXPECT_EQ(mainFrame->MDIClient()->subWindowList().size(), 1);

    // No lets it go, and the document with it.
    answer = IDNO;
    windows[0]->close();
    ASSERT_TRUE(WaitFor([&] { return app->DocTemplates().front()->Documents().empty(); }));
}

TEST_F(ShellTest, ExitAsksOnceForEachModifiedDocument)
{
    StartWithTemplate();
    app->OnFileNew();
    app->OnFileNew();
    for (const auto& document : app->DocTemplates().front()->Documents())
        document->SetModifiedFlag(true);
    mainFrame->show();
    answer = IDCANCEL;
    mainFrame->OnCommand(ID_APP_EXIT);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(mainFrame->isVisible());
    EXPECT_EQ(app->DocTemplates().front()->Documents().size(), 2u);

    messages.clear();
    answer = IDNO;
    mainFrame->OnCommand(ID_APP_EXIT);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(mainFrame->isVisible());
    EXPECT_TRUE(WaitFor([&] { return app->DocTemplates().front()->Documents().empty(); }));
}

TEST_F(ShellTest, WindowCommandsArrangeTheDocumentWindows)
{
    StartWithTemplate();
    mainFrame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainFrame));
    app->OnFileNew();
    app->OnFileNew();
    const QList<QMdiSubWindow*> windows = mainFrame->MDIClient()->subWindowList();
    for (QMdiSubWindow* window : windows)
        window->showNormal();
    mainFrame->OnCommand(ID_WINDOW_TILE_HORZ);
    EXPECT_FALSE(windows[0]->geometry().intersects(windows[1]->geometry()));
    mainFrame->OnCommand(ID_WINDOW_CASCADE);
    EXPECT_TRUE(windows[0]->geometry().intersects(windows[1]->geometry()));
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());

    // Minimized windows line up along the bottom.
    for (QMdiSubWindow* window : windows)
        window->showMinimized();
    mainFrame->OnCommand(ID_WINDOW_ARRANGE);
    const int bottom = mainFrame->MDIClient()->viewport()->height();
    for (QMdiSubWindow* window : windows)
        EXPECT_EQ(window->geometry().bottom() + 1, bottom);
    EXPECT_NE(windows[0]->x(), windows[1]->x());
}

TEST(AboutBox, NameVersionMakerAndOk)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("关于 Tornel"));
    auto* version = dialog.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Tornel  1.0 版"));
    auto* maker = dialog.findChild<QLabel*>(QStringLiteral("maker"));
    ASSERT_NE(maker, nullptr);
    EXPECT_FALSE(maker->text().isEmpty());
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("button1"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
