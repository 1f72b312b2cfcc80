// The application icon painted with QPainter, so that the sizes a desktop
// asks for (up to 256 pixels) are drawn, not blown up from the 32 x 32 pixel
// art.  The geometry is laid out on the pixel art's 32-unit grid and keeps
// its palette, so the painted icon lines up with the small ones: the plate's
// corners, the tool's edges and its tip fall where the XPM has them.
#include "TornelIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace {

// The pixel art's palette.
const QColor kOutline(0x00, 0x00, 0x00);
const QColor kFluteDark(0x40, 0x40, 0x40);
const QColor kSteelDark(0x80, 0x80, 0x80);
const QColor kSteel(0xC0, 0xC0, 0xC0);
const QColor kPlateTop(0xE4, 0xE4, 0xE4);
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kPlateLeft(0x1E, 0x5F, 0xD0);
const QColor kPlateRight(0x0A, 0x2A, 0x78);
const QColor kPath(0x22, 0xA8, 0x3A);

// The plate's top face is the parallelogram L, T, R, B; its sides drop by
// kThickness.
const QPointF kLeft(1.0, 19.5);
const QPointF kTop(16.0, 12.0);
const QPointF kRight(30.5, 19.5);
const QPointF kBottom(15.5, 27.0);
constexpr double kThickness = 3.5;

// The cutter: a round tool standing on the plate at (kToolX, kTipY).
constexpr double kToolX = 21.0;
constexpr double kTipY = 19.0;
constexpr double kFluteRadius = 4.5;
constexpr double kFluteTop = 10.0;
constexpr double kShankRadius = 3.6;
constexpr double kCollarRadius = 6.5;
constexpr double kCollarTop = 0.6;
constexpr double kCollarBottom = 5.0;
constexpr double kEllipse = 0.35;  // height over width of a circle seen at this angle

// A point of the top face: u runs from the left corner to the top one, v from
// the left corner to the bottom one.
QPointF OnPlate(double u, double v)
{
    return kLeft + u * (kTop - kLeft) + v * (kBottom - kLeft);
}

QPen OutlinePen(double width)
{
    QPen pen(kOutline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void PaintPlate(QPainter& p)
{
    const QPointF down(0.0, kThickness);
    p.setPen(OutlinePen(0.9));
    p.setBrush(kPlateLeft);
    p.drawPolygon(QPolygonF{kLeft, kBottom, kBottom + down, kLeft + down});
    p.setBrush(kPlateRight);
    p.drawPolygon(QPolygonF{kBottom, kRight, kRight + down, kBottom + down});
    p.setBrush(kPlateTop);
    p.drawPolygon(QPolygonF{kLeft, kTop, kRight, kBottom});

    // A pocket cleared in passes, the last one still under way at the tool.
    const double uEnd = 0.711;
    QPainterPath path(OnPlate(0.12, 0.20));
    path.lineTo(OnPlate(0.88, 0.20));
    path.lineTo(OnPlate(0.88, 0.42));
    path.lineTo(OnPlate(0.12, 0.42));
    path.lineTo(OnPlate(0.12, 0.644));
    path.lineTo(OnPlate(uEnd, 0.644));
    QPen pathPen(kPath, 1.7);
    pathPen.setJoinStyle(Qt::RoundJoin);
    pathPen.setCapStyle(Qt::RoundCap);
    p.setPen(pathPen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// A standing cylinder from top to bottom: its side and its bottom rim; the
// top is hidden under what stands on it.
QPainterPath Cylinder(double radius, double top, double bottom)
{
    const double ry = radius * kEllipse;
    QPainterPath path;
    path.moveTo(kToolX - radius, top);
    path.lineTo(kToolX - radius, bottom);
    path.arcTo(QRectF(kToolX - radius, bottom - ry, 2 * radius, 2 * ry), 180.0, 180.0);
    path.lineTo(kToolX + radius, top);
    path.closeSubpath();
    return path;
}

// Steel lit from the left front: dark at the edges, a white streak left of
// the axis.
QLinearGradient SteelGradient(double radius)
{
    QLinearGradient gradient(kToolX - radius, 0.0, kToolX + radius, 0.0);
    gradient.setColorAt(0.0, kSteelDark);
    gradient.setColorAt(0.28, kSteel);
    gradient.setColorAt(0.36, kHighlight);
    gradient.setColorAt(0.48, kSteel);
    gradient.setColorAt(1.0, kSteelDark);
    return gradient;
}

void PaintTool(QPainter& p)
{
    const double tipCentre = kTipY - kFluteRadius * kEllipse;

    // Fluted part, its helical flutes as the curves of the front half.
    const QPainterPath flutes = Cylinder(kFluteRadius, kFluteTop, tipCentre);
    p.setPen(Qt::NoPen);
    p.setBrush(SteelGradient(kFluteRadius));
    p.drawPath(flutes);
    p.save();
    p.setClipPath(flutes);
    constexpr double kPitch = 8.0;  // two flutes, one every 4 units
    for (double start = kFluteTop - kPitch; start < kTipY + kPitch; start += kPitch / 2) {
        QPainterPath dark;
        QPainterPath light;
        for (int i = 0; i <= 24; ++i) {
            const double t = std::numbers::pi * i / 24;
            const double x = kToolX - kFluteRadius * std::cos(t);
            const double y = start + kPitch * 0.5 * (1.0 - t / std::numbers::pi) + kEllipse * kFluteRadius * std::sin(t);
            if (i == 0) {
                dark.moveTo(x, y);
                light.moveTo(x + 0.9, y);
            } else {
                dark.lineTo(x, y);
                light.lineTo(x + 0.9, y);
            }
        }
        p.setPen(QPen(kHighlight, 0.7));
        p.drawPath(light);
        p.setPen(QPen(kFluteDark, 0.9));
        p.drawPath(dark);
    }
    p.restore();
    p.setPen(OutlinePen(0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flutes);

    // Shank, then the collar of the holder above it.
    const QPainterPath shank = Cylinder(kShankRadius, kCollarBottom, kFluteTop);
    p.setBrush(SteelGradient(kShankRadius));
    p.drawPath(shank);

    const double collarRy = kCollarRadius * kEllipse;
    QPainterPath collar = Cylinder(kCollarRadius, kCollarTop + collarRy, kCollarBottom - collarRy);
    QLinearGradient collarShade = SteelGradient(kCollarRadius);
    collarShade.setColorAt(0.36, kSteel);
    collarShade.setColorAt(0.48, kSteelDark);
    p.setBrush(collarShade);
    p.drawPath(collar);
    p.setBrush(kSteel);
    p.drawEllipse(QRectF(kToolX - kCollarRadius, kCollarTop, 2 * kCollarRadius, 2 * collarRy));
}

}  // namespace

QImage PaintTornelIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    PaintPlate(p);
    PaintTool(p);
    p.end();
    return image;
}
