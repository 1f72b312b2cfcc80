// The main of a benchmark that draws with OpenGL: it needs an X display and
// starts a virtual one for the run when there is none.
#pragma once

#include "QtBenchMain.h"
#include "VirtualDisplay.h"

inline int RunDisplayBenchmarks(int argc, char** argv, void (*cleanup)())
{
    pid_t server = 0;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && (server = StartVirtualDisplay()) < 0)
        return 1;
    const int result = RunQtBenchmarks(argc, argv, "xcb", cleanup);
    StopVirtualDisplay(server);
    return result;
}
