// The identifiers the framework itself knows: the standard commands of the
// File, Edit, View and Window menus, the status bar's panes and the control
// bars, and the framework's strings.  A program's own ids come on top of
// these.
#pragma once

enum : int
{
    // ---- Framework commands.
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE4 = 57619,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPEAT = 57640,  // find next
    ID_EDIT_REPLACE = 57641,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,

    // ---- Framework status panes, control bars and panes.
    ID_SEPARATOR = 0,  // the message pane of the status bar; a separator in menus and toolbars
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
    ID_INDICATOR_OVR = 59140,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    AFX_IDW_TOOLBAR = 0xE800,     // 59392: every toolbar of the main frame
    AFX_IDW_STATUS_BAR = 0xE801,  // 59393
    AFX_IDW_DOCKBAR_TOP = 0xE81B,
    AFX_IDW_PANE_FIRST = 0xE900,
    AFX_IDM_FIRST_MDICHILD = 0xFF00,  // Window menu: the open document windows, nine at most

    // ---- Framework strings.
    AFX_IDS_APP_TITLE = 57344,
    AFX_IDS_IDLEMESSAGE = 57345,
    AFX_IDP_FAILED_TO_INIT_OLE = 57608,  // a string; the command 57608 has no prompt
};
