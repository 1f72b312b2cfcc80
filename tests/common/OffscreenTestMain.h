// The main of a widget test program: offscreen (unless QT_QPA_PLATFORM says
// otherwise), with the profile and the working directory in a temporary
// folder of its own.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include "TestHome.h"

inline int RunTestsOffscreen(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir home;
    UseTemporaryHome(home);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
