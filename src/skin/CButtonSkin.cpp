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
    // A button smaller than the two margins takes the margins' outer
    // halves: the corners stay whole where they fit, nothing is drawn
    // mirrored or twice.
    QMargins margins = m_margins;
    if (rect.width() < margins.left() + margins.right()) {
        margins.setLeft(rect.width() / 2);
        margins.setRight(rect.width() - rect.width() / 2);
    }
    if (rect.height() < margins.top() + margins.bottom()) {
        margins.setTop(rect.height() / 2);
        margins.setBottom(rect.height() - rect.height() / 2);
    }
    m_image.DrawNineGrid(painter, rect, QRect(index * kImageWidth, 0, kImageWidth, kImageHeight), margins);
}
