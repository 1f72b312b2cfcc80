// The textures of the simulation's tool models (bitmaps 141 and 142),
// painted by code.
#pragma once

#include <QImage>

// The tip texture, 128 x 128: bright ground steel with the fine rings of
// a ground face.  Used on the end faces, balls, points and tapers.
QImage PaintToolTipTexture();
// The body texture, 256 x 512: around the tool from left to right, along
// it from the bottom (the tip end) up: three helical flutes with their
// cutting edges, running out into a plain ground shank at the top.
QImage PaintToolBodyTexture();
