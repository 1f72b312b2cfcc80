// Resource lookup: strings from the string table, images from Qt's resource
// system by id.
#include "Resources.h"

#include <QFile>
#include <unordered_map>
#include <utility>


QString LoadResourceString(int id)
{
    return QString::fromUtf8(FindStringResource(id));
}

QString FormatResourceString(int id, const QString& argument)
{
    return LoadResourceString(id).replace(QLatin1String("%s"), argument);
}

QString ResourceStringPart(int id, int index)
{
    const QStringList parts = LoadResourceString(id).split(QLatin1Char('\n'));
    return index < parts.size() ? parts[index] : QString();
}

QImage LoadBitmapResource(int id)
{
    const QImage painted = PaintBitmapResource(id);
    if (!painted.isNull())
        return painted;
    InitImageResources();
    return QImage(QStringLiteral(":/bitmap/%1.xpm").arg(id));
}

const unsigned char* LockBitmapResource(int id, int* width, int* height)
{
    // User-interface thread only, as every resource lookup.
    static std::unordered_map<int, QImage> locked;
    auto it = locked.find(id);
    if (it == locked.end()) {
        QImage image = LoadBitmapResource(id);
        if (!image.isNull())
            image = image.convertToFormat(QImage::Format_BGR888).mirrored();
        it = locked.emplace(id, std::move(image)).first;
    }
    const QImage& image = it->second;
    *width = image.width();
    *height = image.height();
    return image.isNull() ? nullptr : image.constBits();
}

QImage LoadToolBarImage(int commandId)
{
    InitImageResources();
    return QImage(QStringLiteral(":/toolbar/%1.xpm").arg(commandId));
}

QCursor LoadCursorResource(int id)
{
    InitImageResources();
    const QPixmap image(QStringLiteral(":/cursor/%1.xpm").arg(id));
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    const QPoint hot = CursorHotSpot(id);
    return QCursor(image, hot.x(), hot.y());
}

QIcon LoadIconResource(int id)
{
    InitImageResources();
    QIcon icon;
    for (const QString& name : {QStringLiteral(":/icon/%1.xpm"), QStringLiteral(":/icon/%1-16.xpm")}) {
        const QString path = name.arg(id);
        if (QFile::exists(path))
            icon.addFile(path);
    }
    return icon;
}
