// The strip of the text views' margin icons (bitmap 22902).
#pragma once

#include <QImage>

QImage PaintMarginIcons();
