// The splash screen's bitmap: a pocketing toolpath drawn in 3-D over a dark
// blue background, with the program's name, what it does and its version.
#include "SplashArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStringList>

#include <utility>

namespace {

// The pocket that the toolpath clears, in millimetres.
constexpr double kLengthX = 140, kWidthY = 90, kStepOver = 12, kSafeZ = 18;
constexpr double kLevels[] = {0, -12, -24};

// Isometric view, X to the lower right, Y to the lower left, Z up.
QPointF Project(double x, double y, double z)
{
    return {340 + (x - y) * 0.87, 80 + (x + y) * 0.5 - z};
}

// One level of the pocket: a rectangular spiral from the corner inwards.
QPolygonF Spiral(double z)
{
    QPolygonF pts;
    for (double o = 0; 2 * o < kWidthY; o += kStepOver) {
        pts << Project(o, o, z) << Project(kLengthX - o, o, z) << Project(kLengthX - o, kWidthY - o, z)
            << Project(o, kWidthY - o, z) << Project(o, o + kStepOver, z);
    }
    return pts;
}

// The grey box of the toolpath's extents.
void DrawExtents(QPainter& p, double zMin, double zMax)
{
    p.setPen(QPen(QColor(150, 160, 180, 150), 1));
    for (double z : {zMin, zMax}) {
        p.drawPolygon(QPolygonF{Project(0, 0, z), Project(kLengthX, 0, z), Project(kLengthX, kWidthY, z),
                                Project(0, kWidthY, z)});
    }
    for (auto [x, y] : {std::pair{0.0, 0.0}, {kLengthX, 0.0}, {kLengthX, kWidthY}, {0.0, kWidthY}})
        p.drawLine(Project(x, y, zMin), Project(x, y, zMax));
}

void DrawToolpath(QPainter& p)
{
    const QPen feed(QColor(70, 225, 110), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen rapid(QColor(255, 80, 80), 1.2, Qt::DashLine);
    QPointF last = Project(0, 0, kSafeZ + 30);  // where the tool waits
    for (double z : kLevels) {
        const QPolygonF level = Spiral(z);
        p.setPen(rapid);
        p.drawPolyline(QPolygonF{last, Project(0, 0, kSafeZ), Project(0, 0, z + 2)});
        p.setPen(feed);
        p.drawLine(Project(0, 0, z + 2), level.first());
        p.drawPolyline(level);
        last = level.last();
        p.setPen(rapid);
        p.drawLine(last, last - QPointF(0, kSafeZ - z));
        last -= QPointF(0, kSafeZ - z);
    }
}

// A flat end mill standing with its tip on the given point.
void DrawTool(QPainter& p, QPointF tip)
{
    const QRectF body(tip.x() - 6, tip.y() - 62, 12, 62);
    const QRectF holder(tip.x() - 12, tip.y() - 84, 24, 24);
    QLinearGradient metal(holder.topLeft(), holder.topRight());
    metal.setColorAt(0, QColor(110, 120, 140));
    metal.setColorAt(0.35, QColor(240, 244, 250));
    metal.setColorAt(1, QColor(80, 90, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawRect(body);
    p.drawRoundedRect(holder, 3, 3);
    p.drawEllipse(QRectF(tip.x() - 6, tip.y() - 2.5, 12, 5));
    p.setPen(QPen(QColor(50, 60, 80), 1.2));
    for (int i = 0; i < 4; ++i)  // the flutes
        p.drawLine(QPointF(body.left(), tip.y() - 4 - 7 * i), QPointF(body.right(), tip.y() - 10 - 7 * i));
}

QFont Font(int pixelSize, int weight)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Weight(weight));
    return font;
}

}  // namespace

QImage PaintSplashBitmap()
{
    QImage image(480, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(18, 42, 92));
    sky.setColorAt(1, QColor(4, 10, 32));
    p.fillRect(image.rect(), sky);
    QRadialGradient glow(QPointF(350, 150), 200);
    glow.setColorAt(0, QColor(60, 110, 200, 70));
    glow.setColorAt(1, QColor(60, 110, 200, 0));
    p.fillRect(image.rect(), glow);

    DrawExtents(p, kLevels[2], kSafeZ);
    DrawToolpath(p);
    DrawTool(p, Project(kLengthX, kWidthY, kLevels[0]));

    p.setPen(Qt::white);
    p.setFont(Font(60, QFont::Bold));
    p.drawText(QPointF(30, 140), QStringLiteral("Tornel"));
    p.setPen(QColor(90, 200, 120));
    p.drawLine(QPointF(32, 158), QPointF(222, 158));
    p.setPen(QColor(190, 210, 245));
    p.setFont(Font(20, QFont::Normal));
    p.drawText(QPointF(32, 190), QStringLiteral("数控程序编辑与仿真"));
    p.setPen(QColor(130, 150, 190));
    p.setFont(Font(12, QFont::Normal));
    p.drawText(QRectF(0, 0, 466, 288), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("1.0 版"));
    return image;
}
