// The main frame's toolbars, its accelerator table and the text views'.
#include <QKeySequence>

#include "Resources.h"
#include "ids.h"

const ToolBarTemplate* FindToolBarResource(int id)
{
    static const ToolBarTemplate standard{
        16, 15,
        {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT, ID_SEPARATOR, ID_EDIT_CUT, ID_EDIT_COPY,
         ID_EDIT_PASTE, ID_SEPARATOR, ID_EDIT_UNDO, ID_EDIT_REDO, ID_SEPARATOR, ID_EDIT_FIND, ID_EDIT_REPEAT,
         ID_EDIT_FIND_PREVIOUS, ID_EDIT_REPLACE, ID_SEPARATOR, ID_EDIT_TOGGLE_BOOKMARK, ID_EDIT_GOTO_NEXT_BOOKMARK,
         ID_EDIT_GOTO_PREV_BOOKMARK, ID_EDIT_CLEAR_ALL_BOOKMARKS}};
    static const ToolBarTemplate simulation{
        21, 21,
        {ID_SIM_ZOOMALL, ID_SIM_ZOOMWINDOW, ID_SEPARATOR, ID_SIM_PAN, ID_SEPARATOR, ID_SIM_DYNROTATE,
         ID_SIM_DYNZOOM, ID_SEPARATOR, ID_SIM_TOPVIEW, ID_SIM_LEFTVIEW, ID_SIM_FRONTVIEW, ID_SIM_ISOVIEW,
         ID_SEPARATOR, ID_SIM_START}};
    static const ToolBarTemplate transfer{
        21, 21,
        {ID_NC_SENDTOMACHINE, ID_NC_RECEIVEFROMMACHINE, ID_SEPARATOR, ID_NC_CONFIGURETOOLS, ID_SEPARATOR,
         ID_NC_UPDATEVIEWS}};
    switch (id) {
    case IDR_MAINFRAME:
        return &standard;
    case IDR_SIMULATION:
        return &simulation;
    case IDR_TRANSFER:
        return &transfer;
    default:
        return nullptr;
    }
}

const std::vector<AcceleratorEntry>* FindAcceleratorResource(int id)
{
    static const std::vector<AcceleratorEntry> mainFrame{
        {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
        {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
        {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
        {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
        {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
        {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
        {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
        {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
        {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
        {Qt::Key_F6, ID_NEXT_PANE},
        {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    };
    // The text views' keys, applied before their normal key handling.
    static const std::vector<AcceleratorEntry> textView = [] {
        std::vector<AcceleratorEntry> keys{
            {Qt::Key_Left, ID_EDIT_MOVE_LEFT},
            {Qt::SHIFT | Qt::Key_Left, ID_EDIT_EXTEND_LEFT},
            {Qt::Key_Right, ID_EDIT_MOVE_RIGHT},
            {Qt::SHIFT | Qt::Key_Right, ID_EDIT_EXTEND_RIGHT},
            {Qt::CTRL | Qt::Key_Left, ID_EDIT_MOVE_WORD_LEFT},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Left, ID_EDIT_EXTEND_WORD_LEFT},
            {Qt::CTRL | Qt::Key_Right, ID_EDIT_MOVE_WORD_RIGHT},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Right, ID_EDIT_EXTEND_WORD_RIGHT},
            {Qt::Key_Up, ID_EDIT_MOVE_UP},
            {Qt::SHIFT | Qt::Key_Up, ID_EDIT_EXTEND_UP},
            {Qt::Key_Down, ID_EDIT_MOVE_DOWN},
            {Qt::SHIFT | Qt::Key_Down, ID_EDIT_EXTEND_DOWN},
            {Qt::CTRL | Qt::Key_Up, ID_EDIT_SCROLL_LINE_UP},
            {Qt::CTRL | Qt::Key_Down, ID_EDIT_SCROLL_LINE_DOWN},
            {Qt::Key_PageUp, ID_EDIT_MOVE_PAGE_UP},
            {Qt::SHIFT | Qt::Key_PageUp, ID_EDIT_EXTEND_PAGE_UP},
            {Qt::Key_PageDown, ID_EDIT_MOVE_PAGE_DOWN},
            {Qt::SHIFT | Qt::Key_PageDown, ID_EDIT_EXTEND_PAGE_DOWN},
            {Qt::Key_End, ID_EDIT_MOVE_LINE_END},
            {Qt::SHIFT | Qt::Key_End, ID_EDIT_EXTEND_LINE_END},
            {Qt::Key_Home, ID_EDIT_MOVE_LINE_HOME},
            {Qt::SHIFT | Qt::Key_Home, ID_EDIT_EXTEND_LINE_HOME},
            {Qt::CTRL | Qt::Key_Home, ID_EDIT_MOVE_TEXT_START},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Home, ID_EDIT_EXTEND_TEXT_START},
            {Qt::CTRL | Qt::Key_End, ID_EDIT_MOVE_TEXT_END},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_End, ID_EDIT_EXTEND_TEXT_END},
            {Qt::CTRL | Qt::Key_F2, ID_EDIT_TOGGLE_BOOKMARK},
            {Qt::Key_F2, ID_EDIT_GOTO_NEXT_BOOKMARK},
            {Qt::SHIFT | Qt::Key_F2, ID_EDIT_GOTO_PREV_BOOKMARK},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_F2, ID_EDIT_CLEAR_ALL_BOOKMARKS},
            {Qt::CTRL | Qt::Key_F, ID_EDIT_FIND},
            {Qt::Key_F3, ID_EDIT_REPEAT},
            {Qt::SHIFT | Qt::Key_F3, ID_EDIT_FIND_PREVIOUS},
            {Qt::CTRL | Qt::Key_A, ID_EDIT_SELECT_ALL},
            {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
            {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
            {Qt::CTRL | Qt::Key_H, ID_EDIT_REPLACE},
            {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
            {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
            {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
            {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
            {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
            {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
            {Qt::CTRL | Qt::Key_Y, ID_EDIT_REDO},
            {Qt::Key_Delete, ID_EDIT_DELETE},
            {Qt::Key_Backspace, ID_EDIT_BACKSPACE},
            {Qt::CTRL | Qt::Key_Backspace, ID_EDIT_CTRL_BACKSPACE},
            {Qt::Key_Tab, ID_EDIT_TAB},
            {Qt::SHIFT | Qt::Key_Backtab, ID_EDIT_UNTAB},
            {Qt::Key_Insert, ID_EDIT_TOGGLE_OVERWRITE},
        };
        // Ctrl+0..9 set or clear a numbered bookmark, Alt+0..9 go to it.
        for (int n = 0; n < 10; ++n) {
            keys.push_back({Qt::CTRL | Qt::Key(Qt::Key_0 + n), ID_EDIT_TOGGLE_BOOKMARK0 + n});
            keys.push_back({Qt::ALT | Qt::Key(Qt::Key_0 + n), ID_EDIT_GO_BOOKMARK0 + n});
        }
        return keys;
    }();
    switch (id) {
    case IDR_MAINFRAME:
        return &mainFrame;
    case IDR_TEXTVIEW_ACCEL:
        return &textView;
    default:
        return nullptr;
    }
}
