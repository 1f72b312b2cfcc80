// The painted application icon: the sizes of the icon theme, drawn (not
// blown up) and still the picture of the pixel art.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include "TornelIcon.h"

namespace {

QImage PixelArt()
{
    QImage art(QStringLiteral(TORNEL_ICON_XPM), "XPM");
    return art.convertToFormat(QImage::Format_ARGB32);
}

// Share of the pixels whose coverage (alpha at least half) is the same in
// both pictures.
double SilhouetteAgreement(const QImage& a, const QImage& b)
{
    int same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += (qAlpha(a.pixel(x, y)) >= 128) == (qAlpha(b.pixel(x, y)) >= 128);
    return double(same) / (a.width() * a.height());
}

bool Near(QRgb pixel, QColor colour, int tolerance)
{
    return qAbs(qRed(pixel) - colour.red()) <= tolerance && qAbs(qGreen(pixel) - colour.green()) <= tolerance &&
           qAbs(qBlue(pixel) - colour.blue()) <= tolerance && qAlpha(pixel) == 255;
}

int CountNear(const QImage& image, QColor colour, int tolerance)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += Near(image.pixel(x, y), colour, tolerance);
    return count;
}

}  // namespace

TEST(TornelIcon, EveryThemeSizeIsSquareWithATransparentSurround)
{
    for (int size : {48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = PaintTornelIcon(size).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        for (QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0);
        int covered = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                covered += qAlpha(icon.pixel(x, y)) > 0;
        const double share = double(covered) / (size * size);
        EXPECT_GT(share, 0.35);
        EXPECT_LT(share, 0.85);
    }
}

TEST(TornelIcon, PaintedIconHasThePixelArtsShapeAndColours)
{
    const QImage art = PixelArt();
    ASSERT_EQ(art.size(), QSize(32, 32));
    const QImage painted = PaintTornelIcon(32).convertToFormat(QImage::Format_ARGB32);
    EXPECT_GT(SilhouetteAgreement(painted, art), 0.88);

    // The same large picture, scaled down smoothly, keeps the shape too.
    const QImage large = PaintTornelIcon(256).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(SilhouetteAgreement(large.convertToFormat(QImage::Format_ARGB32), art), 0.88);

    // The plate's blue sides, its light top and the green path all show, in
    // about the amounts the pixel art has them.
    const QImage big = PaintTornelIcon(256).convertToFormat(QImage::Format_ARGB32);
    for (QColor colour : {QColor(0x1E, 0x5F, 0xD0), QColor(0x0A, 0x2A, 0x78), QColor(0x22, 0xA8, 0x3A),
                          QColor(0xE4, 0xE4, 0xE4)}) {
        SCOPED_TRACE(colour.name().toStdString());
        const double inArt = CountNear(art, colour, 0) / (32.0 * 32.0);
        const double inIcon = CountNear(big, colour, 6) / (256.0 * 256.0);
        EXPECT_GT(inIcon, inArt * 0.4);
        EXPECT_LT(inIcon, inArt * 2.5 + 0.01);
    }
}

TEST(TornelIcon, LargeSizesAreDrawnNotBlownUp)
{
    // A 32-pixel picture blown up eight times is made of flat 8 x 8 blocks
    // in at most ten colours; the painted one has smooth edges and shading.
    const QImage icon = PaintTornelIcon(256).convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    int partlyCovered = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            colours.insert(icon.pixel(x, y));
            const int alpha = qAlpha(icon.pixel(x, y));
            partlyCovered += alpha > 0 && alpha < 255;
        }
    EXPECT_GT(colours.size(), 200);
    EXPECT_GT(partlyCovered, 256);

    int flatBlocks = 0;
    int blocks = 0;
    for (int by = 0; by < 256; by += 8)
        for (int bx = 0; bx < 256; bx += 8) {
            const QRgb first = icon.pixel(bx, by);
            if (qAlpha(first) == 0)
                continue;
            bool flat = true;
            for (int y = by; y < by + 8 && flat; ++y)
                for (int x = bx; x < bx + 8 && flat; ++x)
                    flat = icon.pixel(x, y) == first;
            flatBlocks += flat;
            ++blocks;
        }
    ASSERT_GT(blocks, 0);
    EXPECT_LT(double(flatBlocks) / blocks, 0.7);
}
