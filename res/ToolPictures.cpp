// The tool dialog's pictures, in one technical-drawing style: steel bodies
// shaded as cylinders lit from the left, a dark outline and a dash-dot
// centre line on white paper, and the dimension being edited in red with
// its extension lines, arrows and letter.  Every cutter is drawn from one
// outline (Cutter::Outline), at the size of a shape button or of the large
// drawing alike.
#include "ToolPictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

#include "ids.h"

namespace {

const QColor kPaper(255, 255, 255);
const QColor kBorder(170, 177, 186);
const QColor kOutline(36, 40, 48);
const QColor kCentreLine(100, 112, 128);
const QColor kHighlight(210, 30, 30);
const QColor kSelectedPaper(218, 231, 251);
const QColor kSelectedBorder(44, 104, 196);

enum class Shape
{
    FL,
    BU,
    SP,
    CO,
    DR,
};

enum class Dim
{
    None,
    D,
    F,
    L,
    R,
    A,
    TD,
    SD,
    CD,
    CL,
};

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// A direction at an angle in degrees, anticlockwise from the right as seen
// (y grows down the picture).
QPointF Direction(double degrees)
{
    return {std::cos(Radians(degrees)), -std::sin(Radians(degrees))};
}

// A cutter standing on its point, in picture pixels.
struct Cutter
{
    Shape shape = Shape::FL;
    double axis = 0;    // x of the axis
    double tip = 0;     // y of the lowest point
    double r = 0;       // D / 2
    double length = 0;  // L, up from the tip
    double flute = 0;   // F, up from the tip
    double corner = 0;  // R of BU and CO (the ball of SP is r)
    double tipR = 0;    // TD / 2 of CO
    double angle = 118; // point angle of DR, degrees

    double Top() const { return tip - length; }
    double PointHeight() const { return r / std::tan(Radians(angle / 2)); }
    // The right end of the lowest edge or point, where a dimension from the
    // tip starts.
    double LowestRight() const
    {
        switch (shape) {
        case Shape::FL:
            return axis + r;
        case Shape::BU:
            return axis + r - corner;
        case Shape::CO:
            return axis + tipR - corner;
        default:
            return axis;
        }
    }
    // The taper's corner at the tip (CO), before rounding, and the points
    // where the rounding leaves the flank and the bottom.
    QPointF TaperCorner() const { return {axis + tipR, tip}; }
    QPointF FilletOnFlank() const
    {
        const QPointF corner0 = TaperCorner();
        const QPointF up(axis + r - corner0.x(), -flute);
        return corner0 + up / std::hypot(up.x(), up.y()) * corner;
    }
    QPointF FilletOnBottom() const { return TaperCorner() - QPointF(corner, 0); }

    QPainterPath Outline() const
    {
        const double left = axis - r, right = axis + r;
        QPainterPath path;
        path.moveTo(left, Top());
        path.lineTo(right, Top());
        switch (shape) {
        case Shape::FL:
            path.lineTo(right, tip);
            path.lineTo(left, tip);
            break;
        case Shape::BU: {
            const double c = corner;
            path.lineTo(right, tip - c);
            path.arcTo(QRectF(right - 2 * c, tip - 2 * c, 2 * c, 2 * c), 0, -90);
            path.lineTo(left + c, tip);
            path.arcTo(QRectF(left, tip - 2 * c, 2 * c, 2 * c), -90, -90);
            break;
        }
        case Shape::SP:
            path.lineTo(right, tip - r);
            path.arcTo(QRectF(left, tip - 2 * r, 2 * r, 2 * r), 0, -180);
            break;
        case Shape::CO: {
            const auto mirror = [this](QPointF p) { return QPointF(2 * axis - p.x(), p.y()); };
            path.lineTo(right, tip - flute);
            path.lineTo(FilletOnFlank());
            path.quadTo(TaperCorner(), FilletOnBottom());
            path.lineTo(mirror(FilletOnBottom()));
            path.quadTo(mirror(TaperCorner()), mirror(FilletOnFlank()));
            path.lineTo(left, tip - flute);
            break;
        }
        case Shape::DR:
            path.lineTo(right, tip - PointHeight());
            path.lineTo(axis, tip);
            path.lineTo(left, tip - PointHeight());
            break;
        }
        path.closeSubpath();
        return path;
    }
};

// Steel across a cylinder from left to right: dark at the edges, brightest
// a third of the way in.
QLinearGradient Cylinder(double left, double right, const QColor& light, const QColor& dark)
{
    QLinearGradient gradient(left, 0, right, 0);
    gradient.setColorAt(0.0, dark);
    gradient.setColorAt(0.32, light);
    gradient.setColorAt(1.0, dark.darker(112));
    return gradient;
}

// A box whose two lower corners are cut off by chamfer: a section of the
// holder seen from the side.
QPainterPath ChamferedBelow(double left, double right, double top, double bottom, double chamfer)
{
    QPainterPath path;
    path.moveTo(left, top);
    path.lineTo(right, top);
    path.lineTo(right, bottom - chamfer);
    path.lineTo(right - chamfer, bottom);
    path.lineTo(left + chamfer, bottom);
    path.lineTo(left, bottom - chamfer);
    path.closeSubpath();
    return path;
}

void PaintCutter(QPainter& p, const Cutter& c, bool large)
{
    const QPainterPath outline = c.Outline();
    const double left = c.axis - c.r, right = c.axis + c.r;
    p.fillPath(outline, Cylinder(left, right, QColor(238, 241, 245), QColor(160, 168, 180)));
    // The fluted part: darker, crossed by the edges of its helices.
    p.save();
    QPainterPath fluted;
    fluted.addRect(QRectF(left - 1, c.tip - c.flute, 2 * c.r + 2, c.flute + 2));
    p.setClipPath(outline.intersected(fluted));
    p.fillRect(fluted.boundingRect(), Cylinder(left, right, QColor(212, 218, 226), QColor(128, 138, 152)));
    p.setPen(QPen(QColor(58, 64, 76, 150), large ? 1.2 : 1.0));
    const double pitch = large ? 11 : 6, rise = c.r * 0.9;
    for (double y = c.tip - c.flute; y < c.tip + rise + pitch; y += pitch)
        p.drawLine(QPointF(left, y), QPointF(right, y - rise));
    p.restore();
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(left, c.tip - c.flute), QPointF(right, c.tip - c.flute));
    p.strokePath(outline, QPen(kOutline, large ? 1.3 : 1.0));
}

void PaintCentreLine(QPainter& p, double x, double top, double bottom)
{
    QPen pen(kCentreLine, 1);
    pen.setDashPattern({7, 2, 1.5, 2});
    p.setPen(pen);
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
}

// ---- Dimensions, in the highlight colour.

QFont LabelFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

// The letter, starting at x and centred on y; leftwards from x when right
// is false.
void Label(QPainter& p, QPointF at, const QString& text, bool rightwards = true)
{
    p.setFont(LabelFont());
    const double width = QFontMetricsF(p.font()).horizontalAdvance(text);
    p.setPen(kHighlight);
    p.drawText(QRectF(rightwards ? at.x() : at.x() - width, at.y() - 7, width + 2, 14),
               Qt::AlignLeft | Qt::AlignVCenter, text);
}

// An arrowhead whose point is at, pointing along the unit direction.
void Arrow(QPainter& p, QPointF at, QPointF direction)
{
    const QPointF back = at - direction * 5.0;
    const QPointF side(-direction.y() * 2.0, direction.x() * 2.0);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kHighlight);
    p.drawPolygon(QPolygonF({at, back + side, back - side}));
    p.restore();
}

void DimensionPen(QPainter& p)
{
    p.setPen(QPen(kHighlight, 1));
    p.setBrush(Qt::NoBrush);
}

// A dimension from a to b along one axis: the dimension line at offset
// across, extension lines from where the feature is (from1, from2) to a
// little past the line.  Too short a span for arrows inside gets them from
// outside.  horizontal: a, b are x and the rest y; otherwise the reverse.
void LinearDimension(QPainter& p, bool horizontal, double a, double b, double line, double from1, double from2,
                     const QString& label)
{
    const auto point = [horizontal](double along, double across) {
        return horizontal ? QPointF(along, across) : QPointF(across, along);
    };
    DimensionPen(p);
    for (const auto& [at, from] : {std::pair{a, from1}, std::pair{b, from2}}) {
        const double towards = line > from ? 1 : -1;
        p.drawLine(point(at, from + 2 * towards), point(at, line + 3 * towards));
    }
    const QPointF ahead = horizontal ? QPointF(1, 0) : QPointF(0, 1);
    const bool inside = b - a >= 16;
    if (inside) {
        p.drawLine(point(a, line), point(b, line));
        Arrow(p, point(a, line), -ahead);
        Arrow(p, point(b, line), ahead);
    } else {
        p.drawLine(point(a - 10, line), point(b + 10, line));
        Arrow(p, point(a, line), ahead);
        Arrow(p, point(b, line), -ahead);
    }
    if (horizontal)
        Label(p, QPointF(b + (inside ? 4 : 13), line), label);
    else
        Label(p, QPointF(line + 4, (a + b) / 2), label);
}

// A radius: a leader at an angle onto the arc point, with a short landing
// to the letter.  From the centre when one is given (the arrow then points
// out at the arc), otherwise from outside (pointing in).
void RadiusDimension(QPainter& p, QPointF onArc, double degrees, double leader, const QString& label,
                     const QPointF* centre = nullptr)
{
    const QPointF out = Direction(degrees);
    const QPointF end = onArc + out * leader;
    DimensionPen(p);
    if (centre) {
        p.drawLine(*centre, end);
        p.drawLine(*centre - QPointF(2.5, 0), *centre + QPointF(2.5, 0));
        p.drawLine(*centre - QPointF(0, 2.5), *centre + QPointF(0, 2.5));
        Arrow(p, onArc, out);
    } else {
        p.drawLine(onArc, end);
        Arrow(p, onArc, -out);
    }
    const bool rightwards = out.x() >= 0;
    const QPointF landing = end + QPointF(rightwards ? 7 : -7, 0);
    DimensionPen(p);
    p.drawLine(end, landing);
    Label(p, landing + QPointF(rightwards ? 2 : -2, 0), label, rightwards);
}

// An angle at apex: an arc of radius from start sweeping by sweep degrees
// (anticlockwise positive), with arrows at both ends pointing outwards, or
// from outside pointing in when the arc is too short for them.
void AngleDimension(QPainter& p, QPointF apex, double radius, double start, double sweep, QPointF labelAt,
                    const QString& label)
{
    const double sign = sweep >= 0 ? 1 : -1;
    const bool inside = std::abs(Radians(sweep)) * radius >= 16;
    // Past each end by 9 pixels of arc when the arrows come from outside.
    const double beyond = inside ? 0 : 9 / radius * 180 / std::numbers::pi * sign;
    const QRectF box(apex.x() - radius, apex.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, start - beyond);
    arc.arcTo(box, start - beyond, sweep + 2 * beyond);
    DimensionPen(p);
    p.drawPath(arc);
    // The anticlockwise tangent at an angle, as seen.
    const auto tangent = [](double degrees) { return QPointF(-std::sin(Radians(degrees)), -std::cos(Radians(degrees))); };
    const double outwards = inside ? sign : -sign;
    Arrow(p, apex + Direction(start) * radius, tangent(start) * -outwards);
    Arrow(p, apex + Direction(start + sweep) * radius, tangent(start + sweep) * outwards);
    Label(p, labelAt, label);
}

// ---- Pictures.

QImage NewPicture(int width, int height, const QColor& paper)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(paper);
    return image;
}

void PaintBorder(QImage& image, const QColor& colour)
{
    QPainter p(&image);
    p.setPen(colour);
    p.drawRect(0, 0, image.width() - 1, image.height() - 1);
}

void BeginDrawing(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Lines of one pixel on whole coordinates fall on pixel centres.
    p.translate(0.5, 0.5);
}

// The cutter of the large drawing (144 x 125): 34 pixels across, 90 long.
Cutter LargeCutter(Shape shape)
{
    Cutter c;
    c.shape = shape;
    c.axis = 50;
    c.tip = 108;
    c.r = 17;
    c.length = 90;
    c.flute = 48;
    c.corner = 6;
    if (shape == Shape::CO) {
        c.r = 18;
        c.tipR = 5;
        c.flute = 32;
        c.corner = 3;
    }
    if (shape == Shape::DR)
        c.flute = 58;
    return c;
}

QImage PaintCutterPicture(Shape shape, Dim dim)
{
    QImage image = NewPicture(144, 125, kPaper);
    {
        QPainter p(&image);
        BeginDrawing(p);
        const Cutter c = LargeCutter(shape);
        PaintCutter(p, c, true);
        PaintCentreLine(p, c.axis, c.Top() - 6, c.tip + 6);
        const double right = c.axis + c.r;
        switch (dim) {
        case Dim::D:
            LinearDimension(p, true, c.axis - c.r, right, c.Top() - 9, c.Top(), c.Top(), QStringLiteral("D"));
            break;
        case Dim::L:
            LinearDimension(p, false, c.Top(), c.tip, 106, right, c.LowestRight(), QStringLiteral("L"));
            break;
        case Dim::F:
            LinearDimension(p, false, c.tip - c.flute, c.tip, right + 15, right, c.LowestRight(), QStringLiteral("F"));
            break;
        case Dim::TD:
            LinearDimension(p, true, c.axis - c.tipR, c.axis + c.tipR, c.tip + 9, c.tip, c.tip, QStringLiteral("TD"));
            break;
        case Dim::R:
            if (shape == Shape::SP) {
                const QPointF centre(c.axis, c.tip - c.r);
                RadiusDimension(p, centre + Direction(-40) * c.r, -40, 9, QStringLiteral("R"), &centre);
            } else if (shape == Shape::CO) {
                // The middle of the rounding, as the outline draws it.
                const QPointF middle = c.FilletOnFlank() * 0.25 + c.TaperCorner() * 0.5 + c.FilletOnBottom() * 0.25;
                RadiusDimension(p, middle, -35, 13, QStringLiteral("R"));
            } else {
                const QPointF centre(right - c.corner, c.tip - c.corner);
                RadiusDimension(p, centre + Direction(-45) * c.corner, -45, 11, QStringLiteral("R"));
            }
            break;
        case Dim::A:
            if (shape == Shape::DR) {
                // The point angle, between the flanks carried on past the
                // point.
                const QPointF apex(c.axis, c.tip);
                const double flank = 90 - c.angle / 2;  // below the horizontal
                DimensionPen(p);
                p.drawLine(apex, apex + Direction(-flank) * 17);
                p.drawLine(apex, apex + Direction(180 + flank) * 17);
                AngleDimension(p, apex, 12, -flank, -(180 - 2 * flank), apex + QPointF(18, 10), QStringLiteral("A"));
            } else {
                // The taper's angle to the axis, between the flank and a
                // line parallel to the axis from where the taper starts.
                const QPointF start(right, c.tip - c.flute);
                const double taper = std::atan2(c.r - c.tipR, c.flute) * 180 / std::numbers::pi;
                DimensionPen(p);
                p.drawLine(start + QPointF(0, 2), start + QPointF(0, 30));
                AngleDimension(p, start, 24, -90, -taper, start + QPointF(5, 14), QStringLiteral("A"));
            }
            break;
        default:
            break;
        }
    }
    PaintBorder(image, kBorder);
    return image;
}

// The holder (144 x 90): its wide upper part, its narrow lower part and the
// cutter's shank coming out of it, broken off.
QImage PaintHolderPicture(Dim dim)
{
    constexpr double axis = 50;
    constexpr double wideLeft = 18, wideRight = 82, wideTop = 12, wideBottom = 42;
    constexpr double narrowLeft = 35, narrowRight = 65, narrowBottom = 70;
    constexpr double shankLeft = 42, shankRight = 58, shankBottom = 85;
    QImage image = NewPicture(144, 90, kPaper);
    {
        QPainter p(&image);
        BeginDrawing(p);
        const QColor light(226, 231, 238), dark(128, 138, 154);

        QPainterPath shank;
        shank.moveTo(shankLeft, narrowBottom);
        shank.lineTo(shankRight, narrowBottom);
        shank.lineTo(shankRight, shankBottom - 2);
        // A break line: the cutter goes on below.
        for (double x = shankRight, up = 1; x >= shankLeft; x -= 4, up = -up)
            shank.lineTo(x, shankBottom + 2 * up);
        shank.lineTo(shankLeft, shankBottom);
        shank.closeSubpath();
        p.fillPath(shank, Cylinder(shankLeft, shankRight, QColor(240, 242, 245), QColor(170, 176, 186)));
        p.strokePath(shank, QPen(kOutline, 1));

        const QPainterPath narrow = ChamferedBelow(narrowLeft, narrowRight, wideBottom, narrowBottom, 3);
        p.fillPath(narrow, Cylinder(narrowLeft, narrowRight, light, dark));
        // The collet nut's edge.
        p.setPen(QPen(QColor(70, 78, 92), 1));
        p.drawLine(QPointF(narrowLeft, narrowBottom - 9), QPointF(narrowRight, narrowBottom - 9));
        p.strokePath(narrow, QPen(kOutline, 1.3));

        const QPainterPath wide = ChamferedBelow(wideLeft, wideRight, wideTop, wideBottom, 4);
        p.fillPath(wide, Cylinder(wideLeft, wideRight, light, dark));
        // The flange's groove.
        p.fillRect(QRectF(wideLeft, 21, wideRight - wideLeft, 6), Cylinder(wideLeft, wideRight, dark, dark.darker(130)));
        p.setPen(QPen(QColor(70, 78, 92), 1));
        p.drawLine(QPointF(wideLeft, 21), QPointF(wideRight, 21));
        p.drawLine(QPointF(wideLeft, 27), QPointF(wideRight, 27));
        p.strokePath(wide, QPen(kOutline, 1.3));

        PaintCentreLine(p, axis, 5, 88);
        switch (dim) {
        case Dim::SD:
            LinearDimension(p, true, wideLeft, wideRight, 5, wideTop, wideTop, QStringLiteral("SD"));
            break;
        case Dim::CD:
            LinearDimension(p, true, narrowLeft, narrowRight, 79, narrowBottom, narrowBottom, QStringLiteral("CD"));
            break;
        case Dim::CL:
            LinearDimension(p, false, wideBottom, narrowBottom, 100, wideRight, narrowRight - 3,
                            QStringLiteral("CL"));
            break;
        default:
            break;
        }
    }
    PaintBorder(image, kBorder);
    return image;
}

// A shape button (28 x 40, the drill 21 x 40).
QImage PaintShapePicture(Shape shape, bool selected)
{
    const int width = shape == Shape::DR ? 21 : 28;
    QImage image = NewPicture(width, 40, selected ? kSelectedPaper : kPaper);
    {
        QPainter p(&image);
        BeginDrawing(p);
        Cutter c;
        c.shape = shape;
        c.axis = width / 2 - 0.5;
        c.tip = 35;
        c.r = shape == Shape::DR ? 6 : 7;
        c.length = 30;
        c.flute = 16;
        c.corner = 3;
        if (shape == Shape::CO) {
            c.r = 8;
            c.tipR = 3;
            c.flute = 13;
            c.corner = 1.5;
        }
        PaintCutter(p, c, false);
    }
    PaintBorder(image, selected ? kSelectedBorder : kBorder);
    return image;
}

// A compensation reference (28 x 36): a ball-ended cutter with the point
// that the tool path is programmed for marked, at the tip or at the ball's
// centre.
QImage PaintCompensationPicture(bool tip, bool chosen)
{
    QImage image = NewPicture(28, 36, chosen ? kSelectedPaper : kPaper);
    {
        QPainter p(&image);
        BeginDrawing(p);
        Cutter c;
        c.shape = Shape::SP;
        c.axis = 13.5;
        c.tip = 30;
        c.r = 8;
        c.length = 26;
        c.flute = 15;
        PaintCutter(p, c, false);
        PaintCentreLine(p, c.axis, 1, 34);
        const QPointF mark(c.axis, tip ? c.tip : c.tip - c.r);
        p.setPen(QPen(chosen ? kHighlight : QColor(120, 60, 60), 1.2));
        p.setBrush(kPaper);
        p.drawEllipse(mark, 2.6, 2.6);
        p.drawLine(mark - QPointF(4.5, 0), mark + QPointF(4.5, 0));
    }
    PaintBorder(image, chosen ? kSelectedBorder : kBorder);
    return image;
}

struct CutterPicture
{
    int id;
    Shape shape;
    Dim dim;
};

const CutterPicture kCutterPictures[] = {
    {IDB_TOOL_CUTTER, Shape::FL, Dim::None},
    {IDB_TOOL_FL_D, Shape::FL, Dim::D},   {IDB_TOOL_FL_F, Shape::FL, Dim::F},   {IDB_TOOL_FL_L, Shape::FL, Dim::L},
    {IDB_TOOL_BU_D, Shape::BU, Dim::D},   {IDB_TOOL_BU_F, Shape::BU, Dim::F},   {IDB_TOOL_BU_L, Shape::BU, Dim::L},
    {IDB_TOOL_BU_R, Shape::BU, Dim::R},
    {IDB_TOOL_SP_D, Shape::SP, Dim::D},   {IDB_TOOL_SP_F, Shape::SP, Dim::F},   {IDB_TOOL_SP_L, Shape::SP, Dim::L},
    {IDB_TOOL_SP_R, Shape::SP, Dim::R},
    {IDB_TOOL_CO_D, Shape::CO, Dim::D},   {IDB_TOOL_CO_F, Shape::CO, Dim::F},   {IDB_TOOL_CO_L, Shape::CO, Dim::L},
    {IDB_TOOL_CO_R, Shape::CO, Dim::R},   {IDB_TOOL_CO_A, Shape::CO, Dim::A},   {IDB_TOOL_CO_TD, Shape::CO, Dim::TD},
    {IDB_TOOL_DR_D, Shape::DR, Dim::D},   {IDB_TOOL_DR_F, Shape::DR, Dim::F},   {IDB_TOOL_DR_L, Shape::DR, Dim::L},
    {IDB_TOOL_DR_A, Shape::DR, Dim::A},
};

struct HolderPicture
{
    int id;
    Dim dim;
};

const HolderPicture kHolderPictures[] = {
    {IDB_TOOL_HOLDER, Dim::None},
    {IDB_TOOL_HOLDER_SD, Dim::SD},
    {IDB_TOOL_HOLDER_CD, Dim::CD},
    {IDB_TOOL_HOLDER_CL, Dim::CL},
};

// Shape buttons in shape order, normal and selected.
const int kShapePictures[5][2] = {
    {IDB_TOOL_FL, IDB_TOOL_FL_SELECTED}, {IDB_TOOL_BU, IDB_TOOL_BU_SELECTED}, {IDB_TOOL_SP, IDB_TOOL_SP_SELECTED},
    {IDB_TOOL_CO, IDB_TOOL_CO_SELECTED}, {IDB_TOOL_DR, IDB_TOOL_DR_SELECTED},
};

}  // namespace

QImage PaintToolPicture(int id)
{
    for (const CutterPicture& picture : kCutterPictures)
        if (picture.id == id)
            return PaintCutterPicture(picture.shape, picture.dim);
    for (const HolderPicture& picture : kHolderPictures)
        if (picture.id == id)
            return PaintHolderPicture(picture.dim);
    for (int shape = 0; shape < 5; ++shape)
        for (int selected = 0; selected < 2; ++selected)
            if (kShapePictures[shape][selected] == id)
                return PaintShapePicture(static_cast<Shape>(shape), selected != 0);
    switch (id) {
    case IDB_TOOL_COMP_TIP:
        return PaintCompensationPicture(true, false);
    case IDB_TOOL_COMP_TIP_SELECTED:
        return PaintCompensationPicture(true, true);
    case IDB_TOOL_COMP_CENTRE:
        return PaintCompensationPicture(false, false);
    case IDB_TOOL_COMP_CENTRE_SELECTED:
        return PaintCompensationPicture(false, true);
    default:
        return QImage();
    }
}
