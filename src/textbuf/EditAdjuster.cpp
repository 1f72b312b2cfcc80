// The two position adjusters of the buffer's change notifications.
#include "EditAdjuster.h"

void InsertAdjuster::AdjustPoint(TextPos& point) const
{
    if (point.y < m_start.y || (point.y == m_start.y && point.x <= m_start.x))
        return;
    if (point.y > m_start.y) {
        point.y += m_end.y - m_start.y;
        return;
    }
    // On the start line, after the insertion point: it rides along with the
    // tail of the line, which now ends the inserted text.
    point.x = m_end.x + (point.x - m_start.x);
    point.y = m_end.y;
}

void DeleteAdjuster::AdjustPoint(TextPos& point) const
{
    if (point.y < m_start.y)
        return;
    if (point.y > m_end.y) {
        point.y -= m_end.y - m_start.y;
        return;
    }
    if (point.y == m_end.y && point.x >= m_end.x) {
        point.x = m_start.x + (point.x - m_end.x);
        point.y = m_start.y;
        return;
    }
    if (point.y == m_start.y) {
        if (point.x > m_start.x)
            point.x = m_start.x;
        return;
    }
    // Inside the removed range on a later line.
    point = m_start;
}
