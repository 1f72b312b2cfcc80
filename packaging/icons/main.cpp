// tornel-icon: writes one PNG of the program's icon for the icon theme.
//
//   tornel-icon SIZE OUT.png          paints the icon at SIZE x SIZE
//   tornel-icon SIZE OUT.png ART.xpm  converts the pixel art drawn for that size
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "TornelIcon.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fputs("usage: tornel-icon SIZE OUT.png [ART.xpm]\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "tornel-icon: bad size %s\n", argv[1]);
        return 2;
    }
    QImage image;
    if (argc == 4) {
        if (!image.load(QString::fromLocal8Bit(argv[3]), "XPM")) {
            std::fprintf(stderr, "tornel-icon: cannot read %s\n", argv[3]);
            return 1;
        }
        if (image.width() != size || image.height() != size) {
            std::fprintf(stderr, "tornel-icon: %s is %d x %d, not %d x %d\n", argv[3], image.width(), image.height(),
                         size, size);
            return 1;
        }
        image = image.convertToFormat(QImage::Format_ARGB32);
    } else {
        image = PaintTornelIcon(size);
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "tornel-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
