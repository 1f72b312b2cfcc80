// The dialogs' font.
#include "DialogFont.h"

#include <QStringList>

QFont DialogFont()
{
    // Where "仿宋_GB2312" is missing, another FangSong, then the serif
    // (Song/Ming) face of Noto CJK, which Debian's fonts-noto-cjk installs,
    // then any serif face.
    QFont font;
    font.setFamilies({QStringLiteral("仿宋_GB2312"), QStringLiteral("FangSong"), QStringLiteral("仿宋"),
                      QStringLiteral("STFangsong"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(10);
    return font;
}
