// The gradient progress bar drawn: fixed colour bands revealed from the
// left, the rest in the background colour, the percentage over it, and
// empty at both ends.
#include <QImage>

#include "CGradientProgress.h"
#include "DncFixture.h"

namespace {

QImage Grab(CGradientProgress& bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(GradientProgressTest, HalfWayTheDefaultColoursRunFromRedToPurpleOverHalfTheBar)
{
    CGradientProgress bar;
    bar.resize(510, 20);
    bar.m_clrBkGround = QColor(10, 20, 30);
    bar.SetPos(50);
    const QImage image = Grab(bar);
    // 255 bands of two pixels: band k is (255 - k, 0, k).
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(101, 10)), QColor(205, 0, 50));
    EXPECT_EQ(QColor(image.pixel(253, 19)), QColor(129, 0, 126));
    // Filled to the end of the band that passes the half, then background.
    EXPECT_EQ(QColor(image.pixel(255, 10)), QColor(128, 0, 127));
    EXPECT_EQ(QColor(image.pixel(256, 10)), QColor(10, 20, 30));
    EXPECT_EQ(QColor(image.pixel(509, 10)), QColor(10, 20, 30));

    // Further on, the same places keep their colours.
    bar.SetPos(90);
    const QImage later = Grab(bar);
    EXPECT_EQ(QColor(later.pixel(101, 10)), QColor(205, 0, 50));
    EXPECT_EQ(QColor(later.pixel(400, 10)), QColor(55, 0, 200));
}

TEST(GradientProgressTest, ThePercentageIsPrintedAndTheBarIsEmptyAtBothEnds)
{
    CGradientProgress bar;
    bar.resize(300, 24);
    bar.m_clrStart = QColor(0, 255, 20);
    bar.m_clrEnd = QColor(255, 0, 20);
    bar.m_clrText = QColor(0, 0, 0);
    bar.SetPos(66);
    const QImage plain = Grab(bar);
    bar.m_bShowPercent = true;
    bar.update();
    const QImage printed = Grab(bar);
    int black = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 100; x < 200; ++x)
            black += printed.pixel(x, y) != plain.pixel(x, y) ? 1 : 0;
    EXPECT_GT(black, 20);  // "66%" over the middle
    EXPECT_EQ(plain.pixel(5, 5), printed.pixel(5, 5));

    const QColor face = bar.palette().color(QPalette::Button);
    for (int position : {0, 100, 120}) {
        bar.SetPos(position);
        const QImage image = Grab(bar);
        EXPECT_EQ(QColor(image.pixel(1, 1)), face) << position;
        EXPECT_EQ(QColor(image.pixel(150, 12)), face) << position;
        EXPECT_EQ(QColor(image.pixel(298, 22)), face) << position;
    }
}

TEST(GradientProgressTest, ABarOfOneColourFillsAsFarAsThePosition)
{
    CGradientProgress bar;
    bar.resize(100, 10);
    bar.m_clrStart = bar.m_clrEnd = QColor(0, 128, 0);
    bar.m_clrBkGround = QColor(255, 255, 255);
    bar.SetPos(30);
    const QImage image = Grab(bar);
    EXPECT_EQ(QColor(image.pixel(0, 5)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(29, 5)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(32, 5)), QColor(255, 255, 255));
}

}  // namespace
