// The margin icons of the text views, painted: fourteen 16 x 16 icons in a
// row.  0 the running line (a green arrow), 1 and 2 two line marks of no
// use here (a red and an amber dot), 3 to 11 the numbered bookmarks 1 to 9,
// 12 bookmark 0, 13 the plain bookmark (a blue ribbon).
#include <QPainter>
#include <QPainterPath>

#include "MarginIcons.h"

namespace {

constexpr int kIcon = 16;

void NumberedBookmark(QPainter& painter, int x, int number)
{
    const QRectF box(x + 1.5, 1.5, 13, 13);
    painter.setPen(QPen(QColor(0, 40, 110), 1));
    painter.setBrush(QColor(70, 130, 220));
    painter.drawRoundedRect(box, 3, 3);
    QFont font(QStringLiteral("Noto Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, QString::number(number));
}

}  // namespace

QImage PaintMarginIcons()
{
    QImage strip(kIcon * 14, kIcon, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);

    // 0: the running line.
    QPainterPath arrow;
    arrow.moveTo(2, 5);
    arrow.lineTo(8, 5);
    arrow.lineTo(8, 1.5);
    arrow.lineTo(14.5, 8);
    arrow.lineTo(8, 14.5);
    arrow.lineTo(8, 11);
    arrow.lineTo(2, 11);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0, 70, 0), 1));
    painter.setBrush(QColor(40, 180, 40));
    painter.drawPath(arrow);

    // 1 and 2: dots.
    const QColor dots[] = {QColor(220, 30, 30), QColor(230, 160, 20)};
    for (int i = 0; i < 2; ++i) {
        painter.setPen(QPen(dots[i].darker(160), 1));
        painter.setBrush(dots[i]);
        painter.drawEllipse(QRectF(kIcon * (i + 1) + 3.5, 3.5, 9, 9));
    }

    // 3..11: bookmarks 1..9; 12: bookmark 0.
    for (int n = 1; n <= 9; ++n)
        NumberedBookmark(painter, kIcon * (n + 2), n);
    NumberedBookmark(painter, kIcon * 12, 0);

    // 13: the plain bookmark.
    QPainterPath ribbon;
    const int x = kIcon * 13;
    ribbon.moveTo(x + 4, 1.5);
    ribbon.lineTo(x + 12, 1.5);
    ribbon.lineTo(x + 12, 14.5);
    ribbon.lineTo(x + 8, 10.5);
    ribbon.lineTo(x + 4, 14.5);
    ribbon.closeSubpath();
    painter.setPen(QPen(QColor(0, 60, 120), 1));
    painter.setBrush(QColor(60, 150, 230));
    painter.drawPath(ribbon);
    return strip;
}
