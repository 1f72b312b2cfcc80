// The main frame's toolbars and accelerator table.
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
    return id == IDR_MAINFRAME ? &mainFrame : nullptr;
}
