// The splash screen's bitmap, painted by code rather than stored as an image.
#pragma once

#include <QImage>

// Paints the 480 x 300 splash bitmap (Format_RGB32).  Needs a
// QGuiApplication for the fonts.
QImage PaintSplashBitmap();
