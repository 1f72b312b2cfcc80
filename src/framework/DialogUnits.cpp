// Dialog units from the font's metrics.
#include "DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>
#include <cmath>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The average over the 52 letters, rounded, as dialog layouts have
    // always measured it; a CJK font's own average width would count its
    // wide glyphs.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseWidth = std::max(1, int(std::lround(metrics.horizontalAdvance(letters) / 52.0)));
    m_baseHeight = std::max(1, metrics.height());
}

void DialogUnits::Place(QWidget* widget, int x, int y, int width, int height) const
{
    widget->setGeometry(Rect(x, y, width, height));
}
