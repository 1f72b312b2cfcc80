// Named identifiers of commands, strings and resources.  The numbers are
// fixed: menus, accelerators, toolbars and saved settings refer to them.
#pragma once

enum : int
{
    // Document commands.
    ID_EDIT_READONLY = 32795,
    ID_NC_SENDTOMACHINE = 32821,
    ID_NC_RECEIVEFROMMACHINE = 32801,
    ID_NC_CALCULATOR = 32804,
    ID_NC_CONFIGURETOOLS = 32805,
    ID_NC_UPDATEVIEWS = 32806,

    // Framework commands.
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
};
