// The line state from TCGETS2.
#include "LineState.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

LineState ReadLineState(int fd)
{
    struct termios2 tio{};
    LineState state;
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return state;
    state.speed = tio.c_ospeed;
    state.odd = tio.c_cflag & PARODD;
    state.stick = tio.c_cflag & CMSPAR;
    state.twoStopBits = tio.c_cflag & CSTOPB;
    state.rtsCts = tio.c_cflag & CRTSCTS;
    state.xoff = tio.c_iflag & IXOFF;
    state.xon = tio.c_iflag & IXON;
    state.raw = !(tio.c_lflag & (ICANON | ECHO | ISIG)) && !(tio.c_oflag & OPOST) && !(tio.c_iflag & (ICRNL | INLCR));
    return state;
}
