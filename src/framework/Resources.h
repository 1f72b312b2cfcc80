// The program's resources, looked up by their numeric ids: strings, menus,
// accelerator tables, toolbars, bitmaps and icons.
//
// The data lives in res/ (the program's resource script, as it were); the
// framework only knows the shapes below.  Images are compiled in with Qt's
// resource system under ":/toolbar/<command id>.xpm", ":/icon/<id>.xpm",
// and ":/bitmap/<id>.xpm"; a bitmap may instead be painted by code (the
// splash).
#pragma once

#include <QCursor>
#include <QIcon>
#include <QKeyCombination>
#include <QImage>
#include <QString>
#include <vector>

// ---- Strings.

// The raw UTF-8 text of string id, or null when there is none.
const char* FindStringResource(int id);
// The text of string id; empty when there is none.
QString LoadResourceString(int id);
// Piece index of a "prompt\ntip" or document string: the index-th of the
// texts separated by '\n'; empty when there are fewer.
QString ResourceStringPart(int id, int index);
// The text of string id with its "%s" filled in with argument.
QString FormatResourceString(int id, const QString& argument);

// ---- Menus.

struct MenuItemTemplate
{
    enum Kind
    {
        Command,
        Separator,
        Popup,
    };
    Kind kind = Separator;
    int id = 0;
    const char* text = nullptr;
    std::vector<MenuItemTemplate> items;  // a popup's items
};

inline MenuItemTemplate MenuCommand(int id, const char* text)
{
    return {MenuItemTemplate::Command, id, text, {}};
}
inline MenuItemTemplate MenuSeparator()
{
    return {};
}
inline MenuItemTemplate MenuPopup(const char* text, std::vector<MenuItemTemplate> items)
{
    return {MenuItemTemplate::Popup, 0, text, std::move(items)};
}

// The popups of menu id from left to right, or null when there is none.
const std::vector<MenuItemTemplate>* FindMenuResource(int id);

// ---- Accelerator tables.

struct AcceleratorEntry
{
    QKeyCombination key;
    int id;  // the command
};

const std::vector<AcceleratorEntry>* FindAcceleratorResource(int id);

// ---- Toolbars.

struct ToolBarTemplate
{
    int buttonWidth;
    int buttonHeight;
    std::vector<int> buttons;  // command ids; ID_SEPARATOR (0) is a separator
};

const ToolBarTemplate* FindToolBarResource(int id);

// ---- Images.

// Registers the compiled-in images; the loaders below call it.
void InitImageResources();
// A bitmap drawn by code; a null image when id is not one.
QImage PaintBitmapResource(int id);

// Bitmap id; a null image when there is none.
QImage LoadBitmapResource(int id);
// The pixels of bitmap id as a 24-bit bitmap resource holds them: rows
// from the bottom up, each pixel blue, green, red, each row padded to a
// multiple of four bytes (what OpenGL reads with its default unpack
// alignment).  Made at the first call and kept for the rest of the
// program, as resource data is, so the pointer stays good; null, and a
// size of 0 x 0, when there is no such bitmap.
const unsigned char* LockBitmapResource(int id, int* width, int* height);
// The image of a toolbar button, by the button's command id.
QImage LoadToolBarImage(int commandId);
// Where cursor id points, in its image.
QPoint CursorHotSpot(int id);
// Cursor id; the arrow when there is none.
QCursor LoadCursorResource(int id);
// Icon id at every size it comes in; a null icon when there is none.
QIcon LoadIconResource(int id);
