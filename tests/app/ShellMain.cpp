// The shell tests run offscreen, with the profile and the working directory
// in a temporary folder of their own.
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

#include "AfxMessageBox.h"
#include "TempDir.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir home;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.File("config")));
    QDir::setCurrent(QString::fromStdString(home.Path().string()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
