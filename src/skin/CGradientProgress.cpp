// The gradient progress bar's painting.
#include "CGradientProgress.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

CGradientProgress::CGradientProgress(QWidget* parent) : QProgressBar(parent)
{
    m_clrBkGround = palette().color(QPalette::Button);
    setRange(m_nLower, m_nUpper);
    setValue(m_nPos);
    setTextVisible(false);
}

void CGradientProgress::SetPos(int position)
{
    m_nPos = position;
    setValue(std::clamp(position, m_nLower, m_nUpper));
    update();
}

void CGradientProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect();
    if (m_nPos <= m_nLower || m_nPos >= m_nUpper) {
        painter.fillRect(client, palette().color(QPalette::Button));
        return;
    }
    const int width = client.width();
    const int filled = int(double(m_nPos) / m_nUpper * width);
    const int dr = m_clrEnd.red() - m_clrStart.red();
    const int dg = m_clrEnd.green() - m_clrStart.green();
    const int db = m_clrEnd.blue() - m_clrStart.blue();
    // One band per step of the colour that changes most; a bar of a single
    // colour has a band per pixel, so that it still fills as it goes.
    const int steps = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
    const int bands = steps > 0 ? steps : std::max(width, 1);
    for (int k = 0; k < bands; ++k) {
        const int left = k * width / bands;
        const int right = (k + 1) * width / bands;
        const QColor colour(m_clrStart.red() + k * dr / bands, m_clrStart.green() + k * dg / bands,
                            m_clrStart.blue() + k * db / bands);
        painter.fillRect(QRect(left, 0, right - left, client.height() + 1), colour);
        if (right > filled) {
            painter.fillRect(QRect(right, 0, width - right, client.height() + 1), m_clrBkGround);
            break;
        }
    }
    if (m_bShowPercent) {
        painter.setPen(m_clrText);
        painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine,
                         QStringLiteral("%1%").arg(int(double(m_nPos) * 100 / m_nUpper)));
    }
}
