// The shell tests run offscreen, with the profile and the working directory
// in a temporary folder of their own.
#include <QApplication>
#include <gtest/gtest.h>

#include "AfxMessageBox.h"
#include "TestHome.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir home;
    UseTemporaryHome(home);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
