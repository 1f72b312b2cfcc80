// The frame of the skinned dialogs, painted by code in the splash's colours:
// a deep blue caption with a green rule under it for the active window, a
// dark slate one for the inactive window.
//
// The four edge bitmaps are cut from one model frame, a small window of
// 201 x 58 pixels painted whole, so that their pieces meet without seams
// whatever the window's size.  The frame draws each edge as a head, a
// middle that is tiled and a tail; the model keeps every decoration in the
// heads (the icon's plate at the top left) and the middles uniform along the
// edge, so that tiling shows no joins.
#include "FrameSkinArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <initializer_list>

#include "ids.h"

namespace {

// The border widths the frame takes from the bitmaps.
constexpr int kTop = 33, kLeft = 10, kRight = 12, kBottom = 13;
// The model window: the top edge (179) between the left and right edges,
// the left edge's height (58) from top to bottom.
constexpr int kModelWidth = kLeft + 179 + kRight, kModelHeight = 58;

struct FrameColours
{
    QColor captionTop, captionBottom;  // the caption's gradient
    QColor body;                       // the side and bottom borders
    QColor outline;                    // outside and around the client area
    QColor light, shade;               // bevel inside the outline
    QColor rule;                       // the line under the caption
};

FrameColours Colours(bool active)
{
    if (active)
        return {QColor(46, 92, 178), QColor(14, 36, 90),   QColor(24, 54, 120), QColor(6, 14, 38),
                QColor(110, 150, 225), QColor(12, 28, 70), QColor(90, 200, 120)};
    // Dark enough for the inactive title (192, 192, 102) to read on it.
    return {QColor(86, 90, 100), QColor(50, 54, 62), QColor(74, 78, 88), QColor(30, 32, 38),
            QColor(130, 134, 144), QColor(48, 50, 58), QColor(120, 126, 136)};
}

QImage PaintModelFrame(bool active)
{
    const FrameColours c = Colours(active);
    const int w = kModelWidth, h = kModelHeight;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), c.body);

    QLinearGradient caption(0, 0, 0, kTop);
    caption.setColorAt(0, c.captionTop);
    caption.setColorAt(1, c.captionBottom);
    p.fillRect(QRect(0, 0, w, kTop), caption);

    // Bevel and outline of the window.
    p.setPen(c.light);
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(c.shade);
    p.drawLine(w - 2, 2, w - 2, h - 2);
    p.drawLine(2, h - 2, w - 2, h - 2);
    p.setPen(c.outline);
    p.drawRect(0, 0, w - 1, h - 1);

    // The rule under the caption, and the dark line around the client area.
    p.setPen(c.rule);
    p.drawLine(2, kTop - 2, w - 3, kTop - 2);
    p.setPen(c.outline);
    p.drawRect(kLeft - 1, kTop - 1, w - kLeft - kRight + 1, h - kTop - kBottom + 1);

    p.setRenderHint(QPainter::Antialiasing);
    // The icon's plate: the small icon lands at (left width, 5).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(QRectF(kLeft - 3, 2, 22, 22), 4, 4);
    return image;
}

// One edge bitmap: the pieces of the model frame one after the other
// (downwards when stacked, else rightwards), the active copy and then the
// inactive one beside it (side by side) or below it.
QImage Edge(std::initializer_list<QRect> pieces, bool stacked, bool sideBySide)
{
    QSize one;
    for (const QRect& piece : pieces)
        one = stacked ? QSize(piece.width(), one.height() + piece.height())
                      : QSize(one.width() + piece.width(), piece.height());
    QImage image(sideBySide ? QSize(2 * one.width(), one.height()) : QSize(one.width(), 2 * one.height()),
                 QImage::Format_RGB32);
    QPainter p(&image);
    for (int copy = 0; copy < 2; ++copy) {
        const QImage model = PaintModelFrame(copy == 0);
        QPoint at = sideBySide ? QPoint(copy * one.width(), 0) : QPoint(0, copy * one.height());
        for (const QRect& piece : pieces) {
            p.drawImage(at, model, piece);
            at += stacked ? QPoint(0, piece.height()) : QPoint(piece.width(), 0);
        }
    }
    return image;
}

enum class Glyph
{
    Close,
    Maximize,
    Restore,
    Minimize,
};

// One 19 x 20 caption button: 0 normal, 1 pressed, 2 hover.
void PaintCaptionButton(QPainter& p, int x, Glyph glyph, int state)
{
    const QRect face(x, 0, 18, 19);
    const bool close = glyph == Glyph::Close;
    QColor top(58, 96, 170), bottom(30, 56, 118), edge(8, 16, 40), mark(232, 238, 250);
    if (state == 2) {
        top = close ? QColor(236, 96, 80) : QColor(96, 146, 232);
        bottom = close ? QColor(176, 36, 30) : QColor(50, 96, 192);
        mark = Qt::white;
    } else if (state == 1) {
        top = close ? QColor(120, 20, 18) : QColor(16, 34, 80);
        bottom = close ? QColor(170, 40, 32) : QColor(34, 64, 130);
        mark = QColor(200, 210, 230);
    }
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 20);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    // Square corners: the same button sits on the active and the inactive
    // caption.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(face);
    p.setRenderHint(QPainter::Antialiasing);

    // The mark, a pixel lower and to the right while pressed.
    const QPointF o(x + (state == 1 ? 1 : 0), state == 1 ? 1 : 0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mark, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    switch (glyph) {
    case Glyph::Close:
        p.setPen(QPen(mark, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(o + QPointF(5.5, 6), o + QPointF(13.5, 14));
        p.drawLine(o + QPointF(13.5, 6), o + QPointF(5.5, 14));
        break;
    case Glyph::Maximize:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(mark, 1));
        p.drawRect(QRectF(o + QPointF(5, 5), QSizeF(9, 9)));
        p.drawLine(o + QPointF(5, 6), o + QPointF(14, 6));
        break;
    case Glyph::Restore:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(mark, 1));
        p.drawRect(QRectF(o + QPointF(7, 4), QSizeF(7, 7)));
        p.fillRect(QRectF(o + QPointF(4, 7), QSizeF(8, 8)), fill);
        p.drawRect(QRectF(o + QPointF(4, 7), QSizeF(7, 7)));
        p.drawLine(o + QPointF(4, 8), o + QPointF(11, 8));
        break;
    case Glyph::Minimize:
        p.fillRect(QRectF(o + QPointF(5, 12), QSizeF(9, 2)), mark);
        break;
    }
}

QImage CaptionButton(Glyph glyph)
{
    QImage image(57, 20, QImage::Format_RGB32);
    QPainter p(&image);
    // Normal, pressed, hover.
    for (int state = 0; state < 3; ++state)
        PaintCaptionButton(p, 19 * state, glyph, state);
    return image;
}

// A light ground with the faint lines of a squared drawing sheet, every
// 10 pixels and stronger every 50: tiles seamlessly.
QImage Background()
{
    QImage image(150, 150, QImage::Format_RGB32);
    image.fill(QColor(234, 237, 242));
    QPainter p(&image);
    for (int i = 0; i < 150; i += 10) {
        p.setPen(i % 50 == 0 ? QColor(212, 218, 230) : QColor(225, 229, 236));
        p.drawLine(i, 0, i, 149);
        p.drawLine(0, i, 149, i);
    }
    return image;
}

}  // namespace

QImage PaintFrameSkinBitmap(int id)
{
    const int w = kModelWidth, h = kModelHeight;
    switch (id) {
    case IDB_SKIN_TOP:  // 179 x 66: the caption between the side edges
        return Edge({QRect(kLeft, 0, 179, kTop)}, false, false);
    case IDB_SKIN_LEFT:  // 20 x 58: the whole left column
        return Edge({QRect(0, 0, kLeft, h)}, true, true);
    case IDB_SKIN_RIGHT:  // 24 x 56: head 33, middle 10, tail 13
        return Edge({QRect(w - kRight, 0, kRight, kTop + 10), QRect(w - kRight, h - kBottom, kRight, kBottom)}, true,
                    true);
    case IDB_SKIN_BOTTOM:  // 57 x 26: a stretch of the bottom border
        return Edge({QRect(kLeft + 20, h - kBottom, 57, kBottom)}, false, false);
    case IDB_SKIN_CLOSE:
        return CaptionButton(Glyph::Close);
    case IDB_SKIN_MAXIMIZE:
        return CaptionButton(Glyph::Maximize);
    case IDB_SKIN_RESTORE:
        return CaptionButton(Glyph::Restore);
    case IDB_SKIN_MINIMIZE:
        return CaptionButton(Glyph::Minimize);
    case IDB_SKIN_BACKGROUND:
        return Background();
    default:
        return QImage();
    }
}
