// The textures of the tool models, painted pixel by pixel from a few
// formulas.  The view draws its models without lighting, so the light is
// painted in: steel is a cool grey, bright where a ground face or a cutting
// edge catches the light, dark down in the flutes.  Both are opaque 24-bit
// pictures; the view takes them as 24-bit bitmaps (LockBitmapResource).
#include "ToolTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A grey of brightness v with steel's cool tint.
QRgb Steel(double v)
{
    const auto channel = [](double c) { return std::clamp(int(std::lround(c)), 0, 255); };
    return qRgb(channel(v - 6.0), channel(v - 1.0), channel(v + 6.0));
}

// The fine streaks a grinding wheel leaves: a ripple in -1..1 per line
// (row, column or diagonal), from a hash so that every run paints the same.
double Streak(int line)
{
    uint32_t h = uint32_t(line) * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return double(h & 0xFFFFu) / 32767.5 - 1.0;
}

// From a to b as x goes from x0 to x1, a before and b after.
double Ramp(double x, double x0, double x1, double a, double b)
{
    const double t = std::clamp((x - x0) / (x1 - x0), 0.0, 1.0);
    return a + (b - a) * t;
}

// Brightness across one flute at phase p (0..1) from its cutting edge round
// to the next one: the edge's highlight, the land, the heel dropping into
// the gullet, the dark gullet and the rake face rising lit to the next edge.
double FluteProfile(double p)
{
    if (p < 0.06)
        return Ramp(p, 0.0, 0.06, 245.0, 200.0);
    if (p < 0.40)
        return Ramp(p, 0.06, 0.40, 190.0, 160.0);
    if (p < 0.48)
        return Ramp(p, 0.40, 0.48, 160.0, 85.0);
    if (p < 0.65)
        return Ramp(p, 0.48, 0.65, 85.0, 62.0);
    const double g = (p - 0.65) / 0.35;
    return 62.0 + 93.0 * g * g;
}

}  // namespace

QImage PaintToolTipTexture()
{
    constexpr int kSize = 128;
    constexpr double kRingPitch = 5.0;  // pixels between the rings of the ground face
    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double d = std::hypot(x + 0.5 - kSize / 2.0, y + 0.5 - kSize / 2.0);
            // Brightest in the middle, a little duller towards the corners
            // (which is also what the corner torus shows: it has no texture
            // coordinates of its own and takes the colour at a corner).
            double v = 224.0 - 0.25 * d;
            v += 7.0 * std::cos(2.0 * kPi * d / kRingPitch);
            v += 4.0 * Streak(x + y);
            image.setPixel(x, y, Steel(v));
        }
    }
    return image;
}

QImage PaintToolBodyTexture()
{
    constexpr int kWidth = 256, kHeight = 512;
    constexpr int kShank = 120;     // rows of plain shank at the top
    constexpr int kRunOut = 48;     // rows below it where the flutes run out
    constexpr int kFlutes = 3;
    constexpr double kTwist = 0.55; // pixels round per pixel along: the helix
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        // The shank is ground round: its streaks run round the tool.
        const double shank = 176.0 + 5.0 * Streak(y);
        // How deep the flutes are cut here: 0 in the shank, 1 below the
        // run-out, easing in between.
        const double run = std::clamp(double(y - kShank) / kRunOut, 0.0, 1.0);
        const double cut = run * run * (3.0 - 2.0 * run);
        for (int x = 0; x < kWidth; ++x) {
            // Position round the tool in flutes, turning with the helix as
            // it goes down; whole numbers are the cutting edges.
            const double around = (x + kTwist * (kHeight - y)) * kFlutes / kWidth;
            const double phase = around - std::floor(around);
            // The flutes are ground along the helix: streaks follow it.
            const double fluted = FluteProfile(phase) + 4.0 * Streak(int(around * 80.0));
            image.setPixel(x, y, Steel(shank + (fluted - shank) * cut));
        }
    }
    return image;
}
