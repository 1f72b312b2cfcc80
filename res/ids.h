// Named identifiers of the program's commands, controls, strings and
// resources, with the framework's own (FrameworkIds.h).  The numbers are
// fixed: menus, accelerators, toolbars, dialogs and saved settings refer to
// them.  A command's id is also the id of its prompt in the string table
// ("status prompt\ntool tip").
#pragma once

#include "FrameworkIds.h"

enum : int
{
    // ---- Resources of the application shell.
    IDD_ABOUTBOX = 100,
    IDB_SPLASH = 102,
    IDR_MAINFRAME = 128,     // title string, menu, accelerators, standard toolbar, icon
    IDR_TORNELTYPE = 129,    // document type: menu, icon, document string
    IDR_SIMULATION = 134,    // simulation toolbar
    IDR_TRANSFER = 138,      // transfer toolbar

    // ---- Program commands.
    ID_EDIT_READONLY = 32795,
    ID_EDIT_BACKSPACE_AT_START = 32796,  // no handler
    ID_EDIT_DRAG_DROP = 32797,           // no handler
    ID_NC_RECEIVEFROMMACHINE = 32801,
    ID_NC_CALCULATOR = 32804,
    ID_NC_CONFIGURETOOLS = 32805,
    ID_NC_UPDATEVIEWS = 32806,
    ID_SIM_FULLSCREEN = 32807,
    ID_SIM_START = 32808,
    ID_SIM_WIREFRAME = 32809,  // no handler
    ID_SIM_SOLID = 32810,      // no handler
    ID_SIM_ZOOMALL = 32811,
    ID_SIM_ZOOMWINDOW = 32812,
    ID_SIM_TOPVIEW = 32813,
    ID_SIM_FRONTVIEW = 32814,
    ID_SIM_LEFTVIEW = 32815,
    ID_SIM_ISOVIEW = 32816,
    ID_SIM_DYNZOOM = 32817,
    ID_SIM_DYNROTATE = 32818,
    ID_SIM_PAN = 32819,
    ID_NC_SENDTOMACHINE = 32821,

    // ---- Text engine commands used by the menus and toolbars.
    ID_EDIT_DELETE = 37000,
    ID_EDIT_FIND_PREVIOUS = 37126,
    ID_EDIT_TOGGLE_BOOKMARK0 = 37200,  // .. 37209
    ID_EDIT_TOGGLE_BOOKMARK9 = 37209,
    ID_EDIT_GO_BOOKMARK0 = 37210,  // .. 37219
    ID_EDIT_GO_BOOKMARK9 = 37219,
    ID_EDIT_CLEAR_BOOKMARKS = 37220,
    ID_EDIT_TOGGLE_BOOKMARK = 37223,
    ID_EDIT_GOTO_NEXT_BOOKMARK = 37224,
    ID_EDIT_GOTO_PREV_BOOKMARK = 37225,
    ID_EDIT_CLEAR_ALL_BOOKMARKS = 37226,

    // ---- Text engine status panes.
    ID_EDIT_INDICATOR_STATUS = 37900,
    ID_EDIT_INDICATOR_READ = 37901,
    ID_EDIT_INDICATOR_CRLF = 37902,
    ID_EDIT_INDICATOR_POSITION = 37903,

    // The buttons OK (1; "&Find Next" in the Find dialog) and Cancel (2) of
    // every dialog are IDOK and IDCANCEL of AfxMessageBox.h.

    // ---- Text engine: accelerator table of the text views.
    IDR_TEXTVIEW_ACCEL = 22901,  // movement, bookmark, search and editing keys

    // ---- Text engine: editing commands (keys only, no menu items).
    ID_EDIT_BACKSPACE = 37001,         // Backspace
    ID_EDIT_CTRL_BACKSPACE = 37002,    // Ctrl+Backspace; no handler
    ID_EDIT_TAB = 37003,               // Tab: tab, or indent the selected lines
    ID_EDIT_UNTAB = 37004,             // Shift+Tab: back to the previous tab stop, or unindent the selected lines
    ID_EDIT_TOGGLE_OVERWRITE = 37005,  // Insert: overwrite mode on or off

    // ---- Text engine: movement commands.  Each MOVE command collapses the
    // selection at the new cursor; the EXTEND command after it (Shift) keeps
    // the anchor and selects up to the cursor.
    ID_EDIT_MOVE_LEFT = 37100,          // Left
    ID_EDIT_EXTEND_LEFT = 37101,        // Shift+Left
    ID_EDIT_MOVE_RIGHT = 37102,         // Right
    ID_EDIT_EXTEND_RIGHT = 37103,       // Shift+Right
    ID_EDIT_MOVE_WORD_LEFT = 37104,     // Ctrl+Left
    ID_EDIT_EXTEND_WORD_LEFT = 37105,   // Ctrl+Shift+Left
    ID_EDIT_MOVE_WORD_RIGHT = 37106,    // Ctrl+Right
    ID_EDIT_EXTEND_WORD_RIGHT = 37107,  // Ctrl+Shift+Right
    ID_EDIT_MOVE_UP = 37108,            // Up
    ID_EDIT_EXTEND_UP = 37109,          // Shift+Up
    ID_EDIT_MOVE_DOWN = 37110,          // Down
    ID_EDIT_EXTEND_DOWN = 37111,        // Shift+Down
    ID_EDIT_SCROLL_LINE_UP = 37112,     // Ctrl+Up: scroll one line, the cursor stays
    ID_EDIT_SCROLL_LINE_DOWN = 37113,   // Ctrl+Down: scroll one line, the cursor stays
    ID_EDIT_MOVE_PAGE_UP = 37114,       // Page Up
    ID_EDIT_EXTEND_PAGE_UP = 37115,     // Shift+Page Up
    ID_EDIT_MOVE_PAGE_DOWN = 37116,     // Page Down
    ID_EDIT_EXTEND_PAGE_DOWN = 37117,   // Shift+Page Down
    ID_EDIT_MOVE_LINE_END = 37118,      // End
    ID_EDIT_EXTEND_LINE_END = 37119,    // Shift+End
    ID_EDIT_MOVE_LINE_HOME = 37120,     // Home: first non-blank byte, then column 0
    ID_EDIT_EXTEND_LINE_HOME = 37121,   // Shift+Home
    ID_EDIT_MOVE_TEXT_START = 37122,    // Ctrl+Home
    ID_EDIT_EXTEND_TEXT_START = 37123,  // Ctrl+Shift+Home
    ID_EDIT_MOVE_TEXT_END = 37124,      // Ctrl+End
    ID_EDIT_EXTEND_TEXT_END = 37125,    // Ctrl+Shift+End

    // ---- Text engine: the numbered bookmarks between the first and the last
    // (Ctrl+n sets or clears bookmark n, Alt+n goes to it).
    ID_EDIT_TOGGLE_BOOKMARK1 = 37201,
    ID_EDIT_TOGGLE_BOOKMARK2 = 37202,
    ID_EDIT_TOGGLE_BOOKMARK3 = 37203,
    ID_EDIT_TOGGLE_BOOKMARK4 = 37204,
    ID_EDIT_TOGGLE_BOOKMARK5 = 37205,
    ID_EDIT_TOGGLE_BOOKMARK6 = 37206,
    ID_EDIT_TOGGLE_BOOKMARK7 = 37207,
    ID_EDIT_TOGGLE_BOOKMARK8 = 37208,
    ID_EDIT_GO_BOOKMARK1 = 37211,
    ID_EDIT_GO_BOOKMARK2 = 37212,
    ID_EDIT_GO_BOOKMARK3 = 37213,
    ID_EDIT_GO_BOOKMARK4 = 37214,
    ID_EDIT_GO_BOOKMARK5 = 37215,
    ID_EDIT_GO_BOOKMARK6 = 37216,
    ID_EDIT_GO_BOOKMARK7 = 37217,
    ID_EDIT_GO_BOOKMARK8 = 37218,

    // ---- Text engine: the Find and Replace dialogs.  Controls 8603 to 8605
    // are common to both dialogs.
    IDD_EDIT_FIND = 8601,              // "Find"
    IDD_EDIT_REPLACE = 8602,           // "Replace"
    IDC_FIND_WHOLE_WORD = 8603,        // check box "Match &whole word only"
    IDC_FIND_MATCH_CASE = 8604,        // check box "Match &case"
    IDC_FIND_WHAT = 8605,              // edit: the search text
    IDC_REPLACE = 8607,                // button "&Replace"
    IDC_REPLACE_ALL = 8608,            // button "Replace &All"
    IDC_REPLACE_WITH = 8609,           // edit: the replacement text
    IDC_REPLACE_FIND_NEXT = 8610,      // button "&Find Next" of the Replace dialog
    IDC_FIND_DIRECTION_UP = 8611,      // radio "&Up", first of the direction group
    IDC_FIND_DIRECTION_DOWN = 8612,    // radio "&Down"
    IDC_REPLACE_IN_SELECTION = 8613,   // radio "&Selection", first of the scope group
    IDC_REPLACE_IN_WHOLE_FILE = 8614,  // radio "Wh&ole file"

    // ---- Cursors and bitmaps of the views.
    IDCUR_TEXT_MARGIN = 22900,    // over the selection margin of a text view
    IDB_MARGIN_ICONS = 22902,     // 224 x 16: fourteen 16 x 16 margin icons, white is transparent
    IDB_TOOL_TIP_TEXTURE = 141,   // 128 x 128, 24 bits: texture of the tool models' tips
    IDB_TOOL_BODY_TEXTURE = 142,  // 256 x 512, 24 bits: texture of the tool models' bodies
    IDCUR_SIM_ZOOM = 143,         // simulation view, dynamic zoom
    IDCUR_SIM_PICK = 144,         // simulation view, right-button pick
    IDCUR_SIM_ROTATE = 145,       // simulation view, dynamic rotation
    IDCUR_SIM_ZOOMWINDOW = 146,   // simulation view, zoom window
    IDCUR_SIM_PAN = 147,          // simulation view, pan

    // ---- Simulation: the control dialog of the playback.
    IDD_SIMCONTROL = 148,      // "仿真控制"
    IDC_SIMCTRL_SPEED = 1000,  // trackbar: the speed, 1 to 200
    IDC_SIMCTRL_START = 1001,  // button "开始"
    IDC_SIMCTRL_PAUSE = 1002,  // button "暂停" / "继续"
    IDC_SIMCTRL_CLOSE = 1003,  // button "关闭"; 1003 is also the send dialog's progress bar

    // ---- Tool configuration dialog.  Its shape radios 1019 to 1022 share
    // their numbers with check boxes of the port settings dialogs, and its two
    // explanatory pictures 1072 and 1073 with the bitmaps they show by default.
    IDD_TOOLCONFIG = 157,            // "配置刀具"
    IDC_TOOL_NUMBER = 1041,          // drop-down list: the T numbers
    IDC_TOOL_PICTURE_FL = 1042,      // shape pictures, one per shape
    IDC_TOOL_PICTURE_BU = 1043,
    IDC_TOOL_PICTURE_SP = 1044,
    IDC_TOOL_PICTURE_CO = 1045,
    IDC_TOOL_PICTURE_DR = 1046,
    IDC_TOOL_TYPE_FL = 1047,         // shape radios "FL", "BU", "SP", "CO", "DR"
    IDC_TOOL_TYPE_BU = 1019,
    IDC_TOOL_TYPE_SP = 1020,
    IDC_TOOL_TYPE_CO = 1021,
    IDC_TOOL_TYPE_DR = 1022,
    IDC_TOOL_UNIT_MM = 1048,         // radio "mm"
    IDC_TOOL_UNIT_INCH = 1049,       // radio "inch"
    IDC_TOOL_NAME = 1050,            // edit: the tool name, at most 10 characters
    IDC_TOOL_COMP_LABEL = 1051,      // label "刀补设置:"
    IDC_TOOL_SD_LABEL = 1052,        // label "SD:"
    IDC_TOOL_CD_LABEL = 1053,        // label "CD:"
    IDC_TOOL_CL_LABEL = 1054,        // label "CL:"
    IDC_TOOL_SD = 1055,              // edit: holder, diameter of the wide upper part
    IDC_TOOL_CD = 1056,              // edit: holder, diameter of the narrow lower part
    IDC_TOOL_CL = 1057,              // edit: holder, length of the narrow lower part
    IDC_TOOL_D = 1058,               // edit: cutter diameter
    IDC_TOOL_F = 1059,               // edit: flute length
    IDC_TOOL_L = 1060,               // edit: overall length
    IDC_TOOL_R = 1061,               // edit: corner radius
    IDC_TOOL_A = 1062,               // edit: point or taper angle
    IDC_TOOL_TD = 1063,              // edit: tip diameter
    IDC_TOOL_COMP_TIP = 1064,        // picture: compensation to the tool tip (notifies clicks)
    IDC_TOOL_COMP_CENTRE = 1065,     // picture: compensation to the ball centre (notifies clicks)
    IDC_TOOL_D_LABEL = 1066,         // label "D:"
    IDC_TOOL_F_LABEL = 1067,         // label "F:"
    IDC_TOOL_L_LABEL = 1068,         // label "L:"
    IDC_TOOL_R_LABEL = 1069,         // label "R:"
    IDC_TOOL_A_LABEL = 1070,         // label "A:"
    IDC_TOOL_TD_LABEL = 1071,        // label "TD:"
    IDC_TOOL_CUTTER_PICTURE = 1072,  // lower explanatory picture: the cutter
    IDC_TOOL_HOLDER_PICTURE = 1073,  // upper explanatory picture: the holder
    IDC_TOOL_LOAD_LIBRARY = 1074,    // button "从刀库载入"; no handler
    IDC_TOOL_SAVE_LIBRARY = 1075,    // button "存入刀库"; no handler

    // ---- Tool configuration dialog: its pictures.  Shapes 28 x 40 (DR 21 x 40),
    // compensation references 28 x 36, holder 144 x 90, cutter 144 x 125.
    IDB_TOOL_FL = 211,                    // shape FL, normal
    IDB_TOOL_FL_SELECTED = 210,           // shape FL, the current shape
    IDB_TOOL_BU = 205,
    IDB_TOOL_BU_SELECTED = 204,
    IDB_TOOL_SP = 195,
    IDB_TOOL_SP_SELECTED = 194,
    IDB_TOOL_CO = 207,
    IDB_TOOL_CO_SELECTED = 206,
    IDB_TOOL_DR = 209,
    IDB_TOOL_DR_SELECTED = 208,
    IDB_TOOL_COMP_TIP = 193,              // compensation to the tool tip, normal
    IDB_TOOL_COMP_TIP_SELECTED = 192,     // compensation to the tool tip, chosen
    IDB_TOOL_COMP_CENTRE = 191,           // compensation to the ball centre, normal
    IDB_TOOL_COMP_CENTRE_SELECTED = 190,  // compensation to the ball centre, chosen
    IDB_TOOL_HOLDER = 1073,               // the holder, plain; same number as its picture control
    IDB_TOOL_HOLDER_SD = 162,             // the holder with SD highlighted
    IDB_TOOL_HOLDER_CD = 174,             // the holder with CD highlighted
    IDB_TOOL_HOLDER_CL = 175,             // the holder with CL highlighted
    IDB_TOOL_CUTTER = 1072,               // the cutter, plain; same number as its picture control
    IDB_TOOL_FL_D = 179,                  // cutter of shape FL with D highlighted, and so on
    IDB_TOOL_FL_F = 177,
    IDB_TOOL_FL_L = 185,
    IDB_TOOL_BU_D = 172,
    IDB_TOOL_BU_F = 176,
    IDB_TOOL_BU_L = 170,
    IDB_TOOL_BU_R = 171,
    IDB_TOOL_SP_D = 182,
    IDB_TOOL_SP_F = 165,
    IDB_TOOL_SP_L = 166,
    IDB_TOOL_SP_R = 167,
    IDB_TOOL_CO_D = 181,
    IDB_TOOL_CO_F = 213,
    IDB_TOOL_CO_L = 183,
    IDB_TOOL_CO_R = 186,
    IDB_TOOL_CO_A = 187,
    IDB_TOOL_CO_TD = 189,
    IDB_TOOL_DR_D = 180,
    IDB_TOOL_DR_F = 160,
    IDB_TOOL_DR_L = 184,
    IDB_TOOL_DR_A = 178,

    // ---- DNC transfer: the send and receive dialogs.  Both have a Cancel
    // button 1005, named once per dialog.
    IDD_SEND = 150,               // "发送"
    IDD_RECEIVE = 152,            // "接收"
    IDC_SEND_PROGRESS = 1003,     // progress bar with percentage; 1003 is also the simulation control's Close
    IDC_SEND_SETTINGS = 1004,     // button "设置"
    IDC_SEND_CANCEL = 1005,       // button "取消"
    IDC_SEND_START = 1006,        // button "开始"
    IDC_SEND_LABEL = 1028,        // label "发送"
    IDC_SEND_COMM = 1030,         // the serial communications control
    IDC_SEND_LOG = 1035,          // multi-line edit: status and the line being sent
    IDC_RECEIVE_CANCEL = 1005,    // button "取消"
    IDC_RECEIVE_START = 1007,     // button "开始"
    IDC_RECEIVE_LOG = 1009,       // multi-line edit: settings summary, then the last line received
    IDC_RECEIVE_SETTINGS = 1011,  // button "设置"
    IDC_RECEIVE_COMM = 1027,      // the serial communications control
    IDC_RECEIVE_LABEL = 1038,     // label "接收", then the count of lines received

    // ---- DNC transfer: the port settings dialogs.  Both share these controls;
    // 1019 to 1022 are also the shape radios of the tool configuration dialog.
    IDD_SEND_SETTINGS = 153,              // "发送设置"
    IDD_RECEIVE_SETTINGS = 154,           // "接收设置"
    IDC_PORT_NAME = 1012,                 // drop-down list: COM1 to COM4
    IDC_PORT_DATA_BITS = 1013,            // drop-down list
    IDC_PORT_BAUD = 1014,                 // drop-down list
    IDC_PORT_PARITY = 1015,               // drop-down list
    IDC_PORT_STOP_BITS = 1016,            // drop-down list
    IDC_PORT_REMOVE_BLANKS = 1018,        // check box "移去空格" (send only; never read)
    IDC_PORT_START_FROM_COMPUTER = 1019,  // check box "从计算机开始" (send only)
    IDC_PORT_START_FROM_MACHINE = 1020,   // check box "从机床开始" (send only)
    IDC_PORT_XONXOFF = 1021,              // check box "XON/XOFF"
    IDC_PORT_DTRDSR = 1022,               // check box "DTR/DSR"
    IDC_PORT_RTSCTS = 1023,               // check box "CTS/RTS"
    IDC_PORT_TIMEOUT = 1026,              // edit "超时(ms)" (receive only)

    // ---- Skin: frame, caption buttons and push buttons of the skinned dialogs.
    IDB_SKIN_BOTTOM = 214,      // 57 x 26: bottom edge, active above, inactive below
    IDB_SKIN_BUTTON = 215,      // 360 x 24: five 72 x 24 push-button images on magenta
    IDB_SKIN_TOP = 219,         // 179 x 66: top edge, active above, inactive below
    IDB_SKIN_CLOSE = 221,       // 57 x 20: close button, normal, pressed, hover
    IDB_SKIN_BACKGROUND = 222,  // 150 x 150 texture
    IDB_SKIN_LEFT = 224,        // 20 x 58: left edge, active left, inactive right
    IDB_SKIN_MAXIMIZE = 225,    // 57 x 20: maximize button
    IDB_SKIN_MINIMIZE = 229,    // 57 x 20: minimize button
    IDB_SKIN_RESTORE = 232,     // 57 x 20: restore button
    IDB_SKIN_RIGHT = 233,       // 24 x 56: right edge, active left, inactive right

    // ---- Icons beside those of IDR_MAINFRAME (128) and IDR_TORNELTYPE (129).
    IDI_SECOND_ICON = 131,  // the program's second icon; nothing loads it by id

    // ---- Window timers, numbered per window; the same number in different
    // windows is a different timer.  1001 is also the simulation control's
    // Start button.
    IDT_SPLASH = 1,               // splash window: hide after 750 ms
    IDT_SELECTION_SCROLL = 1001,  // text view: scroll every 100 ms while a mouse selection runs
    IDT_SIM_PLAYBACK = 1,         // simulation view: one playback step per tick
    IDT_RECEIVE_TIMEOUT = 1,      // receive dialog: time-out check, half the receive time-out

    // ---- Strings of the text engine.
    IDS_FIND_NOT_FOUND = 8606,     // message after a failed search; %s is the searched text
    IDS_MENU_UNDO = 8615,          // Edit menu, undo enabled; %s is the undo label
    IDS_MENU_REDO = 8616,          // Edit menu, redo enabled; %s is the redo label
    IDS_MENU_UNDO_DEFAULT = 8617,  // Edit menu, undo disabled
    IDS_MENU_REDO_DEFAULT = 8618,  // Edit menu, redo disabled
    IDS_ACTION_UNKNOWN = 8619,     // undo labels, one per action code
    IDS_ACTION_PASTE = 8620,
    IDS_ACTION_DELETE_SELECTION = 8621,
    IDS_ACTION_CUT = 8622,
    IDS_ACTION_DELETE = 8623,      // out of code order: the code of Delete is 9
    IDS_ACTION_TYPING = 8624,
    IDS_ACTION_BACKSPACE = 8625,
    IDS_ACTION_INDENT = 8626,
    IDS_ACTION_DRAG_DROP = 8627,
    IDS_ACTION_REPLACE = 8628,
    IDS_ACTION_AUTO_INDENT = 8629,
};
