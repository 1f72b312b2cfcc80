// The skin's bitmap drawing.  Scaling is by nearest pixel, as the skin's
// art is drawn for it: smoothing would bleed the magenta background into
// the edges of a button.
#include "CSkinBitmap.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "Resources.h"

namespace {

CSkinBitmap::Loader& CurrentLoader()
{
    static CSkinBitmap::Loader loader;
    return loader;
}

}  // namespace

void CSkinBitmap::SetLoader(Loader loader)
{
    CurrentLoader() = std::move(loader);
}

bool CSkinBitmap::LoadBitmap(int id)
{
    if (IsLoaded())
        return true;
    const QImage image = CurrentLoader() ? CurrentLoader()(id) : LoadBitmapResource(id);
    if (image.isNull())
        return false;
    m_image = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

bool CSkinBitmap::Reload(int id)
{
    DeleteObject();
    return LoadBitmap(id);
}

void CSkinBitmap::Draw(QPainter& painter, QPoint point) const
{
    painter.drawImage(point, m_image);
}

void CSkinBitmap::Draw(QPainter& painter, QPoint point, const QRect& source) const
{
    painter.drawImage(point, m_image, source);
}

void CSkinBitmap::DrawStretched(QPainter& painter, const QRect& target) const
{
    DrawStretched(painter, target, m_image.rect());
}

void CSkinBitmap::DrawStretched(QPainter& painter, const QRect& target, const QRect& source) const
{
    if (target.isEmpty() || source.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, m_image, source);
    painter.restore();
}

void CSkinBitmap::DrawTiled(QPainter& painter, const QRect& target, const QRect& source) const
{
    if (target.isEmpty() || source.isEmpty())
        return;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    for (int y = target.top(); y <= target.bottom(); y += source.height()) {
        for (int x = target.left(); x <= target.right(); x += source.width())
            painter.drawImage(QPoint(x, y), m_image, source);
    }
    painter.restore();
}

void CSkinBitmap::DrawTransparent(QPainter& painter, QPoint point, bool useTransparent, QColor transparent) const
{
    if (!useTransparent) {
        Draw(painter, point);
        return;
    }
    QImage masked = m_image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & 0xFFFFFFu;
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((row[x] & 0xFFFFFFu) == key)
                row[x] = 0;
        }
    }
    painter.drawImage(point, masked);
}

void CSkinBitmap::CopyTo(QPainter& painter, const QRect& target) const
{
    const QRect source(QPoint(0, 0), target.size().boundedTo(m_image.size()));
    painter.drawImage(target.topLeft(), m_image, source);
}

void CSkinBitmap::DrawNineGrid(QPainter& painter, const QRect& target, const QRect& source,
                               const QMargins& margins) const
{
    const int l = margins.left(), t = margins.top(), r = margins.right(), b = margins.bottom();
    // Columns and rows of the source and of the target: margin, middle, margin.
    const int sx[4] = {source.left(), source.left() + l, source.left() + source.width() - r,
                       source.left() + source.width()};
    const int sy[4] = {source.top(), source.top() + t, source.top() + source.height() - b,
                       source.top() + source.height()};
    const int tx[4] = {target.left(), target.left() + l, target.left() + target.width() - r,
                       target.left() + target.width()};
    const int ty[4] = {target.top(), target.top() + t, target.top() + target.height() - b,
                       target.top() + target.height()};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect from(QPoint(sx[column], sy[row]), QPoint(sx[column + 1] - 1, sy[row + 1] - 1));
            const QRect to(QPoint(tx[column], ty[row]), QPoint(tx[column + 1] - 1, ty[row + 1] - 1));
            if (from.size() == to.size())
                Draw(painter, to.topLeft(), from);
            else
                DrawStretched(painter, to, from);
        }
    }
}

QRegion CSkinBitmap::RegionFromColour(QColor transparent) const
{
    return RegionFromColour(m_image, transparent);
}

QRegion CSkinBitmap::RegionFromColour(const QImage& image, QColor transparent)
{
    // One rectangle per run of kept pixels in a row; QRegion merges rows.
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = transparent.rgb() & 0xFFFFFFu;
    std::vector<QRect> runs;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && (row[x] & 0xFFFFFFu) == key)
                ++x;
            const int start = x;
            while (x < pixels.width() && (row[x] & 0xFFFFFFu) != key)
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}
