// What a tty is set to, read by the test from its own side of the line.
// Apart from the tests' other headers: the kernel's termios2, which tells
// any baud rate, cannot be included beside <termios.h>.
#pragma once

struct LineState
{
    unsigned speed = 0;
    bool odd = false;
    bool stick = false;  // mark or space
    bool twoStopBits = false;
    bool rtsCts = false;
    bool xoff = false;  // the driver sends DC3 and DC1 for its input
    bool xon = false;   // the driver acts on DC3 and DC1 that arrive
    bool raw = false;
};

LineState ReadLineState(int fd);
