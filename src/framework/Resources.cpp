// Resource lookup: strings from the string table, images from Qt's resource
// system by id.
#include "Resources.h"

#include <QFile>


QString LoadResourceString(int id)
{
    return QString::fromUtf8(FindStringResource(id));
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
