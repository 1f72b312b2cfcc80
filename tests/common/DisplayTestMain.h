// The main of a test program that needs a real display (OpenGL): without
// one it starts a virtual X server of its own for the run.  Listing the
// tests (as the build does to register them) needs no display at all.
#pragma once

#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestHome.h"
#include "VirtualDisplay.h"

inline int RunTestsWithDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) {
            ::testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    pid_t server = 0;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && (server = StartVirtualDisplay()) < 0)
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 1;
    {
        TempDir home;
        UseTemporaryHome(home);
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    StopVirtualDisplay(server);
    return result;
}
