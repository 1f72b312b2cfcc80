// The pictures of the tool configuration dialog, painted by code: the five
// shapes (normal and selected), the two compensation references (normal and
// chosen), and the drawings of the holder and of each shape's cutter with
// the dimension being edited highlighted.
#pragma once

#include <QImage>

// The picture of bitmap id; a null image when id is none of the tool
// dialog's pictures.
QImage PaintToolPicture(int id);
