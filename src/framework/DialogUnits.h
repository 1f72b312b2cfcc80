// Dialog units: the dialogs' layouts are given in units of the dialog's own
// font, a quarter of its average character width across and an eighth of
// its height down, so that a dialog grows with its font.  DialogUnits turns
// them into pixels for a font, and places widgets by them.
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const { return (units * m_baseWidth + 2) / 4; }
    int Y(int units) const { return (units * m_baseHeight + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const { return {X(x), Y(y), X(width), Y(height)}; }

    // Puts widget at the rectangle in dialog units of its parent.
    void Place(QWidget* widget, int x, int y, int width, int height) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};
