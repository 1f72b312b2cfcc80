// The skinned push button's five images, in the colours of the toolbars and
// the splash: a dark outline, a light steel-blue face shaded from top to
// bottom, green for the hover and the program's blue for the focus.
//
// The skin cuts the button's shape out of the magenta, so every pixel is
// either exactly magenta or clearly not: the faces are smoothed only
// against the outline colour, and the corners are cut afterwards pixel by
// pixel, never blended into the magenta.
#include "ButtonSkinArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kCellWidth = 72, kCellHeight = 24;
constexpr double kRadius = 5;  // of the outer edge
const QColor kMagenta(255, 0, 255);

struct ButtonLook
{
    QColor outline;
    QColor faceTop, faceBottom;
    QColor highlight;  // the line under the top edge; transparent for none
    QColor ring;       // the focus ring inside the outline; transparent for none
};

// Index by image: normal, hover, pressed, focused, disabled.
const ButtonLook kLooks[5] = {
    {QColor(40, 56, 92), QColor(246, 249, 253), QColor(204, 216, 236), QColor(255, 255, 255, 200), Qt::transparent},
    {QColor(36, 120, 64), QColor(248, 253, 249), QColor(186, 226, 198), QColor(255, 255, 255, 220), Qt::transparent},
    {QColor(20, 34, 70), QColor(168, 186, 220), QColor(214, 224, 242), QColor(110, 130, 170, 160), Qt::transparent},
    {QColor(30, 95, 208), QColor(246, 249, 253), QColor(204, 216, 236), QColor(255, 255, 255, 200), QColor(140, 192, 255)},
    {QColor(150, 156, 168), QColor(236, 237, 240), QColor(226, 228, 232), Qt::transparent, Qt::transparent},
};

QPainterPath RoundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void PaintButton(QPainter& p, const QRect& cell, const ButtonLook& look)
{
    const QRectF outer(cell);
    p.fillRect(cell, look.outline);
    QLinearGradient face(outer.topLeft(), outer.bottomLeft());
    face.setColorAt(0, look.faceTop);
    face.setColorAt(1, look.faceBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawPath(RoundedRect(outer.adjusted(1, 1, -1, -1), kRadius - 1));
    p.setBrush(Qt::NoBrush);
    if (look.ring.alpha() != 0) {
        p.setPen(QPen(look.ring, 1));
        p.drawPath(RoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), kRadius - 1.5));
    }
    if (look.highlight.alpha() != 0) {
        p.setPen(QPen(look.highlight, 1));
        p.drawLine(QPointF(outer.left() + kRadius, outer.top() + 2.5), QPointF(outer.right() - kRadius, outer.top() + 2.5));
    }
}

// Turns the pixels of the cell whose centres lie outside its rounded outer
// edge to magenta.
void CutCorners(QImage& image, const QRect& cell)
{
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            // Distance beyond the straight edges of the corner's circle.
            const double dx = std::max({kRadius - (x + 0.5), (x + 0.5) - (kCellWidth - kRadius), 0.0});
            const double dy = std::max({kRadius - (y + 0.5), (y + 0.5) - (kCellHeight - kRadius), 0.0});
            if (std::hypot(dx, dy) > kRadius)
                image.setPixelColor(cell.left() + x, cell.top() + y, kMagenta);
        }
    }
}

}  // namespace

QImage PaintButtonSkinBitmap()
{
    QImage image(5 * kCellWidth, kCellHeight, QImage::Format_RGB32);
    image.fill(kMagenta);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 5; ++i)
            PaintButton(p, QRect(i * kCellWidth, 0, kCellWidth, kCellHeight), kLooks[i]);
    }
    for (int i = 0; i < 5; ++i)
        CutCorners(image, QRect(i * kCellWidth, 0, kCellWidth, kCellHeight));
    return image;
}
