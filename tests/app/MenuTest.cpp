// The two menus item by item, their switch with the active document window,
// and the state that updates give their items.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStatusBar>

#include "CRecentFileList.h"
#include "CToolBar.h"
#include "ShellFixture.h"
#include "TempDir.h"

namespace {

// One line per item: "id text", "-" for a separator, "> title" for a
// sub-popup followed by its items indented by two blanks.
std::vector<std::string> Dump(const QMenu* menu, const std::string& indent = "")
{
    std::vector<std::string> lines;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines.push_back(indent + "-");
        } else if (action->menu()) {
            lines.push_back(indent + "> " + action->menu()->title().toStdString());
            for (const std::string& line : Dump(action->menu(), indent + "  "))
                lines.push_back(line);
        } else {
            lines.push_back(indent + std::to_string(action->data().toInt()) + " " + action->text().toStdString());
        }
    }
    return lines;
}

std::vector<std::string> Titles(QMenuBar* bar)
{
    std::vector<std::string> titles;
    for (QAction* action : bar->actions())
        titles.push_back(action->text().toStdString());
    return titles;
}

QAction* FindItem(const QMenu* menu, int id)
{
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = FindItem(action->menu(), id))
                return found;
        } else if (!action->isSeparator() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

std::vector<std::string> Bookmarks(int first, const std::string& indent)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i)
        lines.push_back(indent + std::to_string(first + i) + " Bookmark " + std::to_string(i));
    return lines;
}

TEST_F(ShellTest, MenuWithoutDocumentIsMenu128)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(mainFrame->CurrentMenuId(), IDR_MAINFRAME);
    EXPECT_EQ(Titles(mainFrame->menuBar()), (std::vector<std::string>{"文件(&F)", "视图(&V)", "帮助(&H)"}));
    const std::vector<QMenu*>& popups = mainFrame->MenuPopups(IDR_MAINFRAME);
    ASSERT_EQ(popups.size(), 3u);
    EXPECT_EQ(Dump(popups[0]), (std::vector<std::string>{"57600 新建(&N)\tCtrl+N", "57601 打开(&O)...\tCtrl+O", "-",
                                                          "57606 打印设置(&S)...", "-", "57616 当前文件", "-",
                                                          "57665 退出(&X)"}));
    EXPECT_EQ(Dump(popups[1]), (std::vector<std::string>{"59392 工具条(&T)", "59393 状态栏(&S)"}));
    EXPECT_EQ(Dump(popups[2]), (std::vector<std::string>{"57664 关于(&A) Tornel..."}));
}

TEST_F(ShellTest, MenuWithADocumentWindowIsMenu129)
{
    StartWithTemplate();
    app->OnFileNew();
    EXPECT_EQ(mainFrame->CurrentMenuId(), IDR_TORNELTYPE);
    EXPECT_EQ(Titles(mainFrame->menuBar()), (std::vector<std::string>{"文件(&F)", "编辑(&E)", "工具(&T)", "仿真(&S)",
                                                                      "视图(&V)", "窗口(&W)", "帮助(&H)"}));
    const std::vector<QMenu*>& popups = mainFrame->MenuPopups(IDR_TORNELTYPE);
    ASSERT_EQ(popups.size(), 7u);
    EXPECT_EQ(Dump(popups[0]),
              (std::vector<std::string>{"57600 新建(&N)\tCtrl+N", "57601 打开(&O)...\tCtrl+O", "57603 保存(&S)\tCtrl+S",
                                        "57604 另存为(&A)...", "-", "57607 打印(&P)...\tCtrl+P", "57609 打印预览(&W)",
                                        "57605 页面设置(&G)", "57606 打印设置(&R)", "-", "57616 Recent File", "-",
                                        "57665 退出(&X)"}));
    std::vector<std::string> edit{"57643 撤消(&U)\tCtrl+Z", "57644 重做(&R)\tCtrl+Y", "-",
                                  "57635 剪切(&T)\tCtrl+X", "57634 复制(&C)\tCtrl+C", "57637 粘贴(&P)\tCtrl+V",
                                  "37000 删除(&D)\tDel", "57642 全选(&A)\tCtrl+A", "-",
                                  "57636 查找(&F)...\tCtrl+F", "57640 查找下一个(&N)\tF3",
                                  "37126 查找前一个\tShift+F3", "57641 替换(&E)...\tCtrl+H", "-",
                                  "32795 只读(&O)", "-", "> 放置书签", "  37220 清除所有书签", "  -"};
    for (const std::string& line : Bookmarks(37200, "  "))
        edit.push_back(line);
    edit.push_back("> 查找书签");
    for (const std::string& line : Bookmarks(37210, "  "))
        edit.push_back(line);
    for (const char* line : {"> 更多书签 (Tornel)", "  37223 Toggle Bookmark", "  37224 Next Bookmark",
                             "  37225 Previous bookmark", "  37226 Clear All Bookmarks", "-",
                             "32796 Backspace at start of line", "32797 Drag-and-drop text editing"})
        edit.push_back(line);
    EXPECT_EQ(Dump(popups[1]), edit);
    EXPECT_EQ(Dump(popups[2]), (std::vector<std::string>{"-", "> 文件传输(&T)", "  32821 发送(&S)", "  32801 接收(&R)",
                                                          "32804 系统计算器(&S)", "-", "32805 配置刀具(&A)",
                                                          "32806 更新视图(&U)"}));
    EXPECT_EQ(Dump(popups[3]),
              (std::vector<std::string>{"32807 全屏显示(&F)", "32808 开始仿真(&M)", "-", "32809 线框式显示(&W)",
                                        "32810 实体式显示(&S)", "-", "32811 全部放大(&A)", "32812 局部放大(&E)", "-",
                                        "32813 俯视图(&T)", "32814 正视图(&F)", "32815 左视图(&L)", "32816 等轴视(&I)",
                                        "-", "32817 动态缩放(&Z)", "32818 动态旋转(&R)", "32819 平移(&P)"}));
    EXPECT_EQ(Dump(popups[4]), (std::vector<std::string>{"59392 工具条(&T)", "59393 状态栏(&S)"}));
    EXPECT_EQ(Dump(popups[5]), (std::vector<std::string>{"57648 新窗口(&N)", "57650 层叠(&C)", "57651 平铺(&T)",
                                                          "57649 排列图标(&A)"}));
    EXPECT_EQ(Dump(popups[6]), (std::vector<std::string>{"57664 关于(&A)..."}));

    // Closing the last document window brings menu 128 back.
    mainFrame->MDIGetActive()->close();
    EXPECT_TRUE(WaitFor([&] { return mainFrame->CurrentMenuId() == IDR_MAINFRAME; }));
}

TEST_F(ShellTest, ItemsThatNothingHandlesAreDisabled)
{
    StartWithTemplate();
    app->OnFileNew();
    const std::vector<QMenu*>& popups = mainFrame->MenuPopups(IDR_TORNELTYPE);
    for (QMenu* popup : popups)
        mainFrame->UpdateMenuPopup(popup);
    auto enabled = [&](int id) {
        for (QMenu* popup : popups) {
            if (QAction* item = FindItem(popup, id)) {
                // Sub-popups update when they open.
                for (QObject* parent = item->parent(); parent; parent = parent->parent())
                    if (auto* menu = qobject_cast<QMenu*>(parent)) {
                        mainFrame->UpdateMenuPopup(menu);
                        break;
                    }
                return item->isEnabled();
            }
        }
        ADD_FAILURE() << "no item " << id;
        return false;
    };
    // Handled by the application, the frames or the test document.
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_APP_ABOUT, ID_VIEW_TOOLBAR,
                   ID_VIEW_STATUS_BAR, ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
        EXPECT_TRUE(enabled(id)) << id;
    // Handled by nobody here: the two items no one ever handles, and the
    // commands of the views that are yet to come.
    for (int id : std::initializer_list<int>{ID_EDIT_BACKSPACE_AT_START, ID_EDIT_DRAG_DROP, ID_SIM_WIREFRAME, ID_SIM_SOLID, ID_EDIT_UNDO,
                   ID_EDIT_COPY, ID_SIM_START, ID_EDIT_TOGGLE_BOOKMARK0, ID_FILE_MRU_FILE1})
        EXPECT_FALSE(enabled(id)) << id;
}

TEST_F(ShellTest, ViewMenuChecksFollowTheBars)
{
    ASSERT_TRUE(Start());
    mainFrame->show();
    QMenu* view = mainFrame->MenuPopups(IDR_MAINFRAME)[1];
    mainFrame->UpdateMenuPopup(view);
    QAction* toolbar = FindItem(view, ID_VIEW_TOOLBAR);
    QAction* statusBar = FindItem(view, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_TRUE(statusBar->isChecked());

    // View > Toolbar finds the first bar with the toolbar id: the standard one.
    toolbar->trigger();
    EXPECT_TRUE(mainFrame->m_wndToolBar->isHidden());
    EXPECT_FALSE(mainFrame->m_wndSimToolBar->isHidden());
    EXPECT_FALSE(mainFrame->m_wndTransferToolBar->isHidden());
    mainFrame->UpdateMenuPopup(view);
    EXPECT_FALSE(toolbar->isChecked());

    statusBar->trigger();
    EXPECT_TRUE(mainFrame->statusBar()->isHidden());
    mainFrame->UpdateMenuPopup(view);
    EXPECT_FALSE(statusBar->isChecked());

    toolbar->trigger();
    statusBar->trigger();
    mainFrame->UpdateMenuPopup(view);
    EXPECT_TRUE(toolbar->isChecked() && statusBar->isChecked());
    EXPECT_FALSE(mainFrame->m_wndToolBar->isHidden());
}

TEST_F(ShellTest, ASubPopupItemRunsItsCommandOnce)
{
    StartWithTemplate();
    UseCatchAllView() = true;
    app->OnFileNew();
    QMenu* edit = mainFrame->MenuPopups(IDR_TORNELTYPE)[1];
    RouteLog().clear();
    // In a sub-popup of a sub-popup's parent, and directly in the popup.
    FindItem(edit, ID_EDIT_TOGGLE_BOOKMARK)->trigger();
    FindItem(edit, ID_EDIT_CUT)->trigger();
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"any 37223", "any 57635"}));
}

TEST_F(ShellTest, RecentFilesReplaceThePlaceholderAndKeepFour)
{
    StartWithTemplate();
    QMenu* file = mainFrame->MenuPopups(IDR_MAINFRAME)[0];
    mainFrame->UpdateMenuPopup(file);
    QAction* placeholder = FindItem(file, ID_FILE_MRU_FILE1);
    EXPECT_FALSE(placeholder->isEnabled());
    EXPECT_EQ(placeholder->text(), QStringLiteral("当前文件"));

    for (const char* name : {"a.nc", "b.nc", "c&d.nc", "e.nc", "f.nc"}) {
        WriteBytes(name, "G00 X0\n");
        ASSERT_NE(app->OpenDocumentFile(QString::fromUtf8(name)), nullptr);
    }
    // Opening a file that is open already brings it up and moves it first.
    ASSERT_NE(app->OpenDocumentFile(QStringLiteral("c&d.nc")), nullptr);
    EXPECT_EQ(app->DocTemplates().front()->Documents().size(), 5u);

    for (auto* child : mainFrame->MDIClient()->subWindowList())
        child->close();
    ASSERT_TRUE(WaitFor([&] { return app->DocTemplates().front()->Documents().empty(); }));
    EXPECT_EQ(mainFrame->CurrentMenuId(), IDR_MAINFRAME);
    mainFrame->UpdateMenuPopup(file);
    EXPECT_EQ(Dump(file), (std::vector<std::string>{"57600 新建(&N)\tCtrl+N", "57601 打开(&O)...\tCtrl+O", "-",
                                                     "57606 打印设置(&S)...", "-", "57616 &1 c&&d.nc",
                                                     "57617 &2 f.nc", "57618 &3 e.nc", "57619 &4 b.nc", "-",
                                                     "57665 退出(&X)"}));
    EXPECT_TRUE(FindItem(file, ID_FILE_MRU_FILE1)->isEnabled());

    // Written to the profile as it changed.
    QSettings profile(app->ProfileFileName(), QSettings::IniFormat);
    EXPECT_EQ(profile.value("Recent File List/File1").toString(), QDir::current().absoluteFilePath("c&d.nc"));
    EXPECT_EQ(profile.value("Recent File List/File4").toString(), QDir::current().absoluteFilePath("b.nc"));
    EXPECT_FALSE(profile.contains("Recent File List/File5"));

    // An entry whose file has gone leaves the list when chosen.
    QFile::remove("e.nc");
    FindItem(file, 57618)->activate(QAction::Trigger);
    mainFrame->UpdateMenuPopup(file);
    EXPECT_EQ(app->RecentFileList()->GetCount(), 3);
    EXPECT_EQ(FindItem(file, 57619), nullptr);
    EXPECT_EQ(FindItem(file, 57618)->text(), QStringLiteral("&3 b.nc"));
    EXPECT_EQ(messages.size(), 1u);  // the document told why it could not open the file

    // An entry still there opens its file again.
    FindItem(file, 57617)->activate(QAction::Trigger);
    EXPECT_EQ(app->DocTemplates().front()->Documents().size(), 1u);
}

}  // namespace
