// The main of a test program that needs a real display (OpenGL): without
// one it runs itself again under a virtual X server.  Listing the tests
// (as the build does to register them) needs no display at all.
#pragma once

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "TestHome.h"

inline int RunTestsWithDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) {
            ::testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("TORNEL_UNDER_XVFB")) {
        qputenv("TORNEL_UNDER_XVFB", "1");
        // A server number of our own: test programs run side by side.
        const std::string server = std::to_string(100 + getpid() % 800);
        std::vector<char*> args{const_cast<char*>("xvfb-run"), const_cast<char*>("-n"),
                                const_cast<char*>(server.c_str()), const_cast<char*>("-s"),
                                const_cast<char*>("-screen 0 1280x1024x24")};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::perror("xvfb-run");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TempDir home;
    UseTemporaryHome(home);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
