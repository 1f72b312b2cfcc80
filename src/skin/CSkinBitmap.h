// CSkinBitmap: a bitmap of the program's resources with the drawing the
// skin needs: plain, stretched (nearest pixel, no smoothing), tiled,
// transparent and nine-grid, and the region of every pixel that differs
// from a given colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <QRegion>
#include <functional>

class QPainter;

class CSkinBitmap
{
public:
    CSkinBitmap() = default;
    // A bitmap of the given pixels, as if loaded.
    explicit CSkinBitmap(const QImage& image) : m_image(image.convertToFormat(QImage::Format_RGB32)) {}

    // Loads bitmap id unless a bitmap is loaded already; true when one is.
    bool LoadBitmap(int id);
    // Drops what is loaded, then loads bitmap id.
    bool Reload(int id);
    void DeleteObject() { m_image = QImage(); }

    // Replaces where bitmaps are loaded from (tests take one away to see a
    // skin fail); an empty loader restores the program's resources.
    using Loader = std::function<QImage(int id)>;
    static void SetLoader(Loader loader);

    bool IsLoaded() const { return !m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    QRect Rect() const { return m_image.rect(); }
    const QImage& Image() const { return m_image; }

    // The whole bitmap, or the source part of it, at point.
    void Draw(QPainter& painter, QPoint point) const;
    void Draw(QPainter& painter, QPoint point, const QRect& source) const;
    // The whole bitmap, or the source part, stretched over target.
    void DrawStretched(QPainter& painter, const QRect& target) const;
    void DrawStretched(QPainter& painter, const QRect& target, const QRect& source) const;
    // The source part repeated from target's top-left corner to fill it,
    // the last copies cut off at its right and bottom.
    void DrawTiled(QPainter& painter, const QRect& target, const QRect& source) const;
    // At point, leaving the pixels of the colour transparent untouched when
    // useTransparent is set; a plain Draw otherwise.
    void DrawTransparent(QPainter& painter, QPoint point, bool useTransparent, QColor transparent) const;
    // As much of the bitmap as target holds, unscaled, from its top-left.
    void CopyTo(QPainter& painter, const QRect& target) const;
    // The source part into target: the corners (margins wide and high)
    // unscaled, the edges stretched along their length, the centre both
    // ways.
    void DrawNineGrid(QPainter& painter, const QRect& target, const QRect& source, const QMargins& margins) const;

    // The pixels that are not of colour transparent, as one region.
    QRegion RegionFromColour(QColor transparent) const;
    static QRegion RegionFromColour(const QImage& image, QColor transparent);

private:
    QImage m_image;
};
