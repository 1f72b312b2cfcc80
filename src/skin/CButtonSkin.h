// CButtonSkin: the five images of a skinned push button (bitmap 215) and
// the nine-grid margins that stretch them to any button size.  One per
// skinned dialog, shared by its buttons.
#pragma once

#include <QMargins>

#include "CSkinBitmap.h"

class QPainter;
class QRect;

class CButtonSkin
{
public:
    enum Image { Normal = 0, Hover = 1, Pressed = 2, Focused = 3, Disabled = 4 };
    static constexpr int kImageCount = 5;
    static constexpr int kImageWidth = 72;
    static constexpr int kImageHeight = 24;
    // Outside the button's shape in every image.
    static constexpr QRgb kTransparent = 0xFFFF00FFu;

    // Loads bitmap 215 and sets the margins; false when the bitmap cannot
    // be loaded, and then IsLoaded stays false.
    bool Load();
    bool IsLoaded() const { return m_image.IsLoaded(); }
    const CSkinBitmap& Bitmap() const { return m_image; }
    const QMargins& Margins() const { return m_margins; }

    // Image index (0 to 4) stretched nine-grid over rect.
    void Draw(QPainter& painter, int index, const QRect& rect) const;

private:
    CSkinBitmap m_image;
    QMargins m_margins{12, 11, 12, 11};  // left, top, right, bottom
};
