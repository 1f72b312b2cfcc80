// The string table: every text the program loads by id, UTF-8.
//
// A command's string is its prompt: the status-bar text, then after a '\n'
// the tool tip.  A status pane's string gives the pane its width.
#include <algorithm>
#include <iterator>

#include "Resources.h"
#include "ids.h"

namespace {

struct StringEntry
{
    int id;
    const char* text;
};

// Sorted by id: looked up by binary search.
constexpr StringEntry kStrings[] = {
    {IDR_MAINFRAME, "Tornel"},
    {IDR_TORNELTYPE, "\nTornel\nTornel\nNC Files (*.nc)\n.nc\nTornel.Document\nTornel Document"},

    // Text engine: search message, Undo and Redo menu texts, undo labels.
    {IDS_FIND_NOT_FOUND, "Cannot find string\"%s\""},
    {IDS_MENU_UNDO, "&Undo %s\tCtrl+Z"},
    {IDS_MENU_REDO, "&Redo %s\tCtrl+Y"},
    {IDS_MENU_UNDO_DEFAULT, "&Undo\tCtrl+Z"},
    {IDS_MENU_REDO_DEFAULT, "&Redo\tCtrl+Y"},  // Redo is Ctrl+Y, enabled or not
    {IDS_ACTION_UNKNOWN, "Unknown"},
    {IDS_ACTION_PASTE, "Paste"},
    {IDS_ACTION_DELETE_SELECTION, "Delete Selection"},
    {IDS_ACTION_CUT, "Cut"},
    {IDS_ACTION_DELETE, "Delete"},
    {IDS_ACTION_TYPING, "Typing"},
    {IDS_ACTION_BACKSPACE, "Backspace"},
    {IDS_ACTION_INDENT, "Indent"},
    {IDS_ACTION_DRAG_DROP, "Drag And Drop"},
    {IDS_ACTION_REPLACE, "Replace"},
    {IDS_ACTION_AUTO_INDENT, "Auto Indent"},

    // Program commands.
    {ID_EDIT_READONLY, "把文档设为只读或可写\n只读"},
    {ID_EDIT_BACKSPACE_AT_START, "Backspace at start of line\nBackspace at start of line"},
    {ID_EDIT_DRAG_DROP, "Drag-and-drop text editing\nDrag-and-drop text editing"},
    {ID_NC_RECEIVEFROMMACHINE, "从机床接收文件\n从机床接收文件"},
    {ID_NC_CALCULATOR, "打开系统计算器\n系统计算器"},
    {ID_NC_CONFIGURETOOLS, "配置刀具\n配置刀具"},
    {ID_NC_UPDATEVIEWS, "更新所有视图\n更新所有视图"},
    {ID_SIM_FULLSCREEN, "仿真视图全屏显示\n全屏显示"},
    {ID_SIM_START, "开始仿真\n开始仿真"},
    {ID_SIM_WIREFRAME, "线框式显示\n线框式显示"},
    {ID_SIM_SOLID, "实体式显示\n实体式显示"},
    {ID_SIM_ZOOMALL, "全部放大\n全部放大"},
    {ID_SIM_ZOOMWINDOW, "局部放大\n局部放大"},
    {ID_SIM_TOPVIEW, "俯视图\n俯视图"},
    {ID_SIM_FRONTVIEW, "正视图\n正视图"},
    {ID_SIM_LEFTVIEW, "左视图\n左视图"},
    {ID_SIM_ISOVIEW, "等轴视\n等轴视"},
    {ID_SIM_DYNZOOM, "动态缩放\n动态缩放"},
    {ID_SIM_DYNROTATE, "动态旋转\n动态旋转"},
    {ID_SIM_PAN, "平移\n平移"},
    {ID_NC_SENDTOMACHINE, "传输文件到机床\n传输文件到机床"},

    // Text engine commands of the menus and toolbars.
    {ID_EDIT_DELETE, "删除所选内容\n删除"},
    {ID_EDIT_FIND_PREVIOUS, "向前查找上一处\n查找前一个"},
    {37200, "放置书签 0\n放置书签 0"},
    {37201, "放置书签 1\n放置书签 1"},
    {37202, "放置书签 2\n放置书签 2"},
    {37203, "放置书签 3\n放置书签 3"},
    {37204, "放置书签 4\n放置书签 4"},
    {37205, "放置书签 5\n放置书签 5"},
    {37206, "放置书签 6\n放置书签 6"},
    {37207, "放置书签 7\n放置书签 7"},
    {37208, "放置书签 8\n放置书签 8"},
    {37209, "放置书签 9\n放置书签 9"},
    {37210, "转到书签 0\n转到书签 0"},
    {37211, "转到书签 1\n转到书签 1"},
    {37212, "转到书签 2\n转到书签 2"},
    {37213, "转到书签 3\n转到书签 3"},
    {37214, "转到书签 4\n转到书签 4"},
    {37215, "转到书签 5\n转到书签 5"},
    {37216, "转到书签 6\n转到书签 6"},
    {37217, "转到书签 7\n转到书签 7"},
    {37218, "转到书签 8\n转到书签 8"},
    {37219, "转到书签 9\n转到书签 9"},
    {ID_EDIT_CLEAR_BOOKMARKS, "清除所有编号书签\n清除所有书签"},
    {ID_EDIT_TOGGLE_BOOKMARK, "在当前行放置或清除书签\nToggle Bookmark"},
    {ID_EDIT_GOTO_NEXT_BOOKMARK, "转到下一个书签\nNext Bookmark"},
    {ID_EDIT_GOTO_PREV_BOOKMARK, "转到上一个书签\nPrevious bookmark"},
    {ID_EDIT_CLEAR_ALL_BOOKMARKS, "清除所有书签\nClear All Bookmarks"},

    // Text engine status panes: the texts give the widths.
    {ID_EDIT_INDICATOR_STATUS, "          "},
    {ID_EDIT_INDICATOR_READ, "Read"},
    {ID_EDIT_INDICATOR_CRLF, "       "},
    {ID_EDIT_INDICATOR_POSITION, "                  "},

    // The framework.
    {AFX_IDS_APP_TITLE, "Tornel"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "建立新文档\n新建"},
    {ID_FILE_OPEN, "打开一个现有文档\n打开"},
    {ID_FILE_CLOSE, "关闭活动文档\n关闭"},
    {ID_FILE_SAVE, "保存活动文档\n保存"},
    {ID_FILE_SAVE_AS, "用新名称保存活动文档\n另存为"},
    {ID_FILE_PAGE_SETUP, "设置打印页面\n页面设置"},
    {ID_FILE_PRINT_SETUP, "选择打印机和打印选项\n打印设置"},
    {ID_FILE_PRINT, "打印活动文档\n打印"},
    {AFX_IDP_FAILED_TO_INIT_OLE, "OLE initialization failed"},
    {ID_FILE_PRINT_PREVIEW, "显示整页\n打印预览"},
    {57616, "打开该文档"},
    {57617, "打开该文档"},
    {57618, "打开该文档"},
    {57619, "打开该文档"},
    {ID_EDIT_COPY, "复制所选内容并放到剪贴板上\n复制"},
    {ID_EDIT_CUT, "剪切所选内容并放到剪贴板上\n剪切"},
    {ID_EDIT_FIND, "查找指定的文本\n查找"},
    {ID_EDIT_PASTE, "插入剪贴板的内容\n粘贴"},
    {ID_EDIT_REPEAT, "查找下一处\n查找下一个"},
    {ID_EDIT_REPLACE, "用别的文本替换指定的文本\n替换"},
    {ID_EDIT_SELECT_ALL, "选择整个文档\n全选"},
    {ID_EDIT_UNDO, "撤消上一步操作\n撤消"},
    {ID_EDIT_REDO, "重做上一步被撤消的操作\n重做"},
    {ID_WINDOW_NEW, "为活动文档再打开一个窗口\n新窗口"},
    {ID_WINDOW_ARRANGE, "把图标排列在窗口底部\n排列图标"},
    {ID_WINDOW_CASCADE, "把窗口排列成相互重叠\n层叠"},
    {ID_WINDOW_TILE_HORZ, "把窗口排列成互不重叠\n平铺"},
    {ID_APP_ABOUT, "显示程序信息、版本号和版权\n关于"},
    {ID_APP_EXIT, "退出程序；提示保存文档\n退出"},
    {ID_NEXT_PANE, "切换到下一个窗格\n下一窗格"},
    {ID_PREV_PANE, "切换到上一个窗格\n上一窗格"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_VIEW_TOOLBAR, "显示或隐藏工具条\n工具条"},
    {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n状态栏"},
};

constexpr bool SortedById()
{
    for (size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(SortedById(), "the string table must be sorted by id, each id once");

}  // namespace

const char* FindStringResource(int id)
{
    const auto* it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                      [](const StringEntry& entry, int value) { return entry.id < value; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}
