// The button images: one 72 x 24 cell each, side by side in bitmap 215.
#include "CButtonSkin.h"

#include <QRect>

#include "ids.h"

bool CButtonSkin::Load()
{
    m_margins = QMargins(12, 11, 12, 11);
    // A bitmap of another size would cut its cells wrongly: refuse it.
    if (!m_image.Reload(IDB_SKIN_BUTTON) || m_image.Width() < kImageCount * kImageWidth
        || m_image.Height() < kImageHeight) {
        m_image.DeleteObject();
        return false;
    }
    return true;
}

void CButtonSkin::Draw(QPainter& painter, int index, const QRect& rect) const
{
    if (!IsLoaded() || index < 0 || index >= kImageCount)
        return;
    m_image.DrawNineGrid(painter, rect, QRect(index * kImageWidth, 0, kImageWidth, kImageHeight), m_margins);
}
