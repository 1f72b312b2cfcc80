// The skinned push button's bitmap (215), painted by code.
#pragma once

#include <QImage>

// 360 x 24: five 72 x 24 button images side by side, normal, hover,
// pressed, focused and disabled, on magenta (255, 0, 255) that shows only
// in the rounded corners.
QImage PaintButtonSkinBitmap();
