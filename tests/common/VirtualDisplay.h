// A virtual X server for programs that need a display and have none.
#pragma once

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// Starts Xvfb on a free display, which the server picks itself and reports
// through a pipe (so programs started side by side never collide), and
// points DISPLAY at it.  Returns the server's pid, or -1.
inline pid_t StartVirtualDisplay()
{
    int report[2];
    if (pipe(report) != 0)
        return -1;
    const pid_t server = fork();
    if (server == 0) {
        // The server goes with the program, even when the program crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(report[0]);
        const std::string fd = std::to_string(report[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(report[1]);
    std::string number;
    pollfd wait{report[0], POLLIN, 0};
    char c = 0;
    while (server > 0 && poll(&wait, 1, 20000) > 0 && read(report[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(report[0]);
    if (server <= 0 || number.empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        if (server > 0)
            kill(server, SIGTERM);
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return server;
}

// Stops a server StartVirtualDisplay started.
inline void StopVirtualDisplay(pid_t server)
{
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
}
