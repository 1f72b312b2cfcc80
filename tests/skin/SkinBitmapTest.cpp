// The skin's bitmap drawing, read back pixel by pixel.
#include <QPainter>
#include <gtest/gtest.h>

#include "CSkinBitmap.h"

namespace {

const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

// A source of 9 x 7 pixels cut into a nine-grid by margins left 2, top 1,
// right 3, bottom 2: each of the nine parts has its own colour.
QRgb PartColour(int column, int row)
{
    return qRgb(40 + 80 * column, 40 + 80 * row, 7);
}

QImage NineParts()
{
    QImage image(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const int column = x < 2 ? 0 : x < 6 ? 1 : 2;
            const int row = y < 1 ? 0 : y < 5 ? 1 : 2;
            image.setPixel(x, y, PartColour(column, row));
        }
    }
    return image;
}

QImage Canvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(kWhite);
    return canvas;
}

TEST(SkinBitmap, NineGridKeepsTheCornersAndStretchesTheRest)
{
    const CSkinBitmap bitmap(NineParts());
    const QMargins margins(2, 1, 3, 2);
    for (const QSize size : {QSize(9, 7), QSize(30, 20), QSize(6, 4)}) {
        QImage canvas = Canvas(40, 30);
        {
            QPainter painter(&canvas);
            bitmap.DrawNineGrid(painter, QRect(QPoint(4, 5), size), bitmap.Rect(), margins);
        }
        const int columns[4] = {4, 6, 4 + size.width() - 3, 4 + size.width()};
        const int rows[4] = {5, 6, 5 + size.height() - 2, 5 + size.height()};
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                QRgb expected = kWhite;
                if (x >= columns[0] && x < columns[3] && y >= rows[0] && y < rows[3]) {
                    const int column = x < columns[1] ? 0 : x < columns[2] ? 1 : 2;
                    const int row = y < rows[1] ? 0 : y < rows[2] ? 1 : 2;
                    expected = PartColour(column, row);
                }
                ASSERT_EQ(canvas.pixel(x, y), expected) << size.width() << "x" << size.height() << " at " << x << ","
                                                        << y;
            }
        }
    }
}

TEST(SkinBitmap, TilingRepeatsTheSourceAndCutsTheLastCopy)
{
    QImage strip(5, 2, QImage::Format_RGB32);
    for (int x = 0; x < 5; ++x) {
        strip.setPixel(x, 0, qRgb(10 * x, 0, 0));
        strip.setPixel(x, 1, qRgb(0, 10 * x, 0));
    }
    const CSkinBitmap bitmap(strip);
    // The middle three columns, repeated over 11 x 3 from (2, 1).
    QImage canvas = Canvas(16, 6);
    {
        QPainter painter(&canvas);
        bitmap.DrawTiled(painter, QRect(2, 1, 11, 3), QRect(1, 0, 3, 2));
    }
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 16; ++x) {
            QRgb expected = kWhite;
            if (x >= 2 && x < 13 && y >= 1 && y < 4)
                expected = strip.pixel(1 + (x - 2) % 3, (y - 1) % 2);
            ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(SkinBitmap, TheTransparentColourLeavesWhatIsBelow)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, kMagenta);
    image.setPixel(1, 0, qRgb(1, 2, 3));
    image.setPixel(2, 0, kMagenta);
    const CSkinBitmap bitmap(image);
    QImage canvas = Canvas(3, 2);
    {
        QPainter painter(&canvas);
        bitmap.DrawTransparent(painter, QPoint(0, 0), true, QColor(kMagenta));
        bitmap.DrawTransparent(painter, QPoint(0, 1), false, QColor(kMagenta));
    }
    EXPECT_EQ(canvas.pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.pixel(1, 0), qRgb(1, 2, 3));
    EXPECT_EQ(canvas.pixel(2, 0), kWhite);
    // Asked not to, it draws every pixel.
    EXPECT_EQ(canvas.pixel(0, 1), kMagenta);
}

TEST(SkinBitmap, TheRegionHoldsExactlyThePixelsOfOtherColours)
{
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(kMagenta);
    // A ring with a hole, and a lone pixel at the far corner.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            if (x == 0 || x == 4 || y == 0 || y == 3)
                image.setPixel(x, y, qRgb(0, 0, 0));
    image.setPixel(6, 4, qRgb(255, 0, 254));  // one step off magenta is kept
    const QRegion region = CSkinBitmap(image).RegionFromColour(QColor(kMagenta));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(region.contains(QPoint(x, y)), image.pixel(x, y) != kMagenta) << x << "," << y;
}

TEST(SkinBitmap, LoadingKeepsWhatIsLoadedAndReloadReplacesIt)
{
    CSkinBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadBitmap(-1));
    EXPECT_FALSE(bitmap.IsLoaded());
    CSkinBitmap loaded(NineParts());
    EXPECT_TRUE(loaded.LoadBitmap(-1));  // already loaded: kept
    EXPECT_EQ(loaded.Width(), 9);
    EXPECT_FALSE(loaded.Reload(-1));     // dropped, then nothing to load
    EXPECT_FALSE(loaded.IsLoaded());
}

}  // namespace
