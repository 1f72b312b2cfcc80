// A GUI test program keeps its profile and works in a temporary folder of
// its own, so that it neither reads nor changes the user's settings.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include "TempDir.h"

inline void UseTemporaryHome(const TempDir& home)
{
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.File("config")));
    QDir::setCurrent(QString::fromStdString(home.Path().string()));
}
