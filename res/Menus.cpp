// The two menus of the main frame: 128 while no document window is active,
// 129 while one is.  The Edit popup of 129 is also the code view's context
// menu.  Items that nothing handles are shown disabled by the framework.
#include "Resources.h"
#include "ids.h"

namespace {

std::vector<MenuItemTemplate> BookmarkItems(int first)
{
    static const char* const kNames[] = {"Bookmark 0", "Bookmark 1", "Bookmark 2", "Bookmark 3", "Bookmark 4",
                                         "Bookmark 5", "Bookmark 6", "Bookmark 7", "Bookmark 8", "Bookmark 9"};
    std::vector<MenuItemTemplate> items;
    for (int i = 0; i < 10; ++i)
        items.push_back(MenuCommand(first + i, kNames[i]));
    return items;
}

MenuItemTemplate ViewPopup()
{
    return MenuPopup("视图(&V)", {MenuCommand(ID_VIEW_TOOLBAR, "工具条(&T)"),
                                  MenuCommand(ID_VIEW_STATUS_BAR, "状态栏(&S)")});
}

std::vector<MenuItemTemplate> MainFrameMenu()
{
    return {
        MenuPopup("文件(&F)", {MenuCommand(ID_FILE_NEW, "新建(&N)\tCtrl+N"),
                               MenuCommand(ID_FILE_OPEN, "打开(&O)...\tCtrl+O"), MenuSeparator(),
                               MenuCommand(ID_FILE_PRINT_SETUP, "打印设置(&S)..."), MenuSeparator(),
                               MenuCommand(ID_FILE_MRU_FILE1, "当前文件"), MenuSeparator(),
                               MenuCommand(ID_APP_EXIT, "退出(&X)")}),
        ViewPopup(),
        MenuPopup("帮助(&H)", {MenuCommand(ID_APP_ABOUT, "关于(&A) Tornel...")}),
    };
}

std::vector<MenuItemTemplate> DocumentMenu()
{
    std::vector<MenuItemTemplate> placeBookmark = BookmarkItems(ID_EDIT_TOGGLE_BOOKMARK0);
    placeBookmark.insert(placeBookmark.begin(), {MenuCommand(ID_EDIT_CLEAR_BOOKMARKS, "清除所有书签"), MenuSeparator()});
    return {
        MenuPopup("文件(&F)",
                  {MenuCommand(ID_FILE_NEW, "新建(&N)\tCtrl+N"), MenuCommand(ID_FILE_OPEN, "打开(&O)...\tCtrl+O"),
                   MenuCommand(ID_FILE_SAVE, "保存(&S)\tCtrl+S"), MenuCommand(ID_FILE_SAVE_AS, "另存为(&A)..."),
                   MenuSeparator(), MenuCommand(ID_FILE_PRINT, "打印(&P)...\tCtrl+P"),
                   MenuCommand(ID_FILE_PRINT_PREVIEW, "打印预览(&W)"), MenuCommand(ID_FILE_PAGE_SETUP, "页面设置(&G)"),
                   MenuCommand(ID_FILE_PRINT_SETUP, "打印设置(&R)"), MenuSeparator(),
                   MenuCommand(ID_FILE_MRU_FILE1, "Recent File"), MenuSeparator(),
                   MenuCommand(ID_APP_EXIT, "退出(&X)")}),
        MenuPopup("编辑(&E)",
                  {MenuCommand(ID_EDIT_UNDO, "撤消(&U)\tCtrl+Z"), MenuCommand(ID_EDIT_REDO, "重做(&R)\tCtrl+Y"),
                   MenuSeparator(), MenuCommand(ID_EDIT_CUT, "剪切(&T)\tCtrl+X"),
                   MenuCommand(ID_EDIT_COPY, "复制(&C)\tCtrl+C"), MenuCommand(ID_EDIT_PASTE, "粘贴(&P)\tCtrl+V"),
                   MenuCommand(ID_EDIT_DELETE, "删除(&D)\tDel"), MenuCommand(ID_EDIT_SELECT_ALL, "全选(&A)\tCtrl+A"),
                   MenuSeparator(), MenuCommand(ID_EDIT_FIND, "查找(&F)...\tCtrl+F"),
                   MenuCommand(ID_EDIT_REPEAT, "查找下一个(&N)\tF3"),
                   MenuCommand(ID_EDIT_FIND_PREVIOUS, "查找前一个\tShift+F3"),
                   MenuCommand(ID_EDIT_REPLACE, "替换(&E)...\tCtrl+H"), MenuSeparator(),
                   MenuCommand(ID_EDIT_READONLY, "只读(&O)"), MenuSeparator(),
                   MenuPopup("放置书签", std::move(placeBookmark)),
                   MenuPopup("查找书签", BookmarkItems(ID_EDIT_GO_BOOKMARK0)),
                   MenuPopup("更多书签 (Tornel)", {MenuCommand(ID_EDIT_TOGGLE_BOOKMARK, "Toggle Bookmark"),
                                                   MenuCommand(ID_EDIT_GOTO_NEXT_BOOKMARK, "Next Bookmark"),
                                                   MenuCommand(ID_EDIT_GOTO_PREV_BOOKMARK, "Previous bookmark"),
                                                   MenuCommand(ID_EDIT_CLEAR_ALL_BOOKMARKS, "Clear All Bookmarks")}),
                   MenuSeparator(), MenuCommand(ID_EDIT_BACKSPACE_AT_START, "Backspace at start of line"),
                   MenuCommand(ID_EDIT_DRAG_DROP, "Drag-and-drop text editing")}),
        MenuPopup("工具(&T)", {MenuSeparator(),
                               MenuPopup("文件传输(&T)", {MenuCommand(ID_NC_SENDTOMACHINE, "发送(&S)"),
                                                          MenuCommand(ID_NC_RECEIVEFROMMACHINE, "接收(&R)")}),
                               MenuCommand(ID_NC_CALCULATOR, "系统计算器(&S)"), MenuSeparator(),
                               MenuCommand(ID_NC_CONFIGURETOOLS, "配置刀具(&A)"),
                               MenuCommand(ID_NC_UPDATEVIEWS, "更新视图(&U)")}),
        MenuPopup("仿真(&S)",
                  {MenuCommand(ID_SIM_FULLSCREEN, "全屏显示(&F)"), MenuCommand(ID_SIM_START, "开始仿真(&M)"),
                   MenuSeparator(), MenuCommand(ID_SIM_WIREFRAME, "线框式显示(&W)"),
                   MenuCommand(ID_SIM_SOLID, "实体式显示(&S)"), MenuSeparator(),
                   MenuCommand(ID_SIM_ZOOMALL, "全部放大(&A)"), MenuCommand(ID_SIM_ZOOMWINDOW, "局部放大(&E)"),
                   MenuSeparator(), MenuCommand(ID_SIM_TOPVIEW, "俯视图(&T)"),
                   MenuCommand(ID_SIM_FRONTVIEW, "正视图(&F)"), MenuCommand(ID_SIM_LEFTVIEW, "左视图(&L)"),
                   MenuCommand(ID_SIM_ISOVIEW, "等轴视(&I)"), MenuSeparator(),
                   MenuCommand(ID_SIM_DYNZOOM, "动态缩放(&Z)"), MenuCommand(ID_SIM_DYNROTATE, "动态旋转(&R)"),
                   MenuCommand(ID_SIM_PAN, "平移(&P)")}),
        ViewPopup(),
        MenuPopup("窗口(&W)", {MenuCommand(ID_WINDOW_NEW, "新窗口(&N)"), MenuCommand(ID_WINDOW_CASCADE, "层叠(&C)"),
                               MenuCommand(ID_WINDOW_TILE_HORZ, "平铺(&T)"),
                               MenuCommand(ID_WINDOW_ARRANGE, "排列图标(&A)")}),
        MenuPopup("帮助(&H)", {MenuCommand(ID_APP_ABOUT, "关于(&A)...")}),
    };
}

}  // namespace

const std::vector<MenuItemTemplate>* FindMenuResource(int id)
{
    static const std::vector<MenuItemTemplate> mainFrame = MainFrameMenu();
    static const std::vector<MenuItemTemplate> document = DocumentMenu();
    switch (id) {
    case IDR_MAINFRAME:
        return &mainFrame;
    case IDR_TORNELTYPE:
        return &document;
    default:
        return nullptr;
    }
}
