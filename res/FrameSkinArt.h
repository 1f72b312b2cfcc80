// The skinned dialogs' frame: edges, caption buttons and background texture
// (bitmaps 214, 219, 221, 222, 224, 225, 229, 232, 233), painted by code.
#pragma once

#include <QImage>

// The frame bitmap id (Format_RGB32); a null image when id is not one.
QImage PaintFrameSkinBitmap(int id);
