// The program's icon painted at any size, for the desktop's icon theme.
#pragma once

#include <QImage>

// The application icon (res/icons/tornel-32.xpm) drawn as shapes rather than
// pixels: an end mill cutting a green pocket path into a blue-sided plate,
// seen from above at an angle.  Transparent round the picture.
QImage PaintTornelIcon(int size);
