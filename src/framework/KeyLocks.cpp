// The state of the lock keys for the status bar's CAP, NUM and SCRL panes.
// Qt does not tell it; on X11 the keyboard extension does, by indicator name.
#include <QGuiApplication>

#include "CFrameWnd.h"
#include "FrameworkIds.h"

#if __has_include(<X11/XKBlib.h>) && !defined(TORNEL_NO_XKB)
#include <X11/XKBlib.h>
#define TORNEL_HAVE_XKB 1
#endif

bool IsKeyLockOn(int indicatorId)
{
#ifdef TORNEL_HAVE_XKB
    const char* name = nullptr;
    switch (indicatorId) {
    case ID_INDICATOR_CAPS:
        name = "Caps Lock";
        break;
    case ID_INDICATOR_NUM:
        name = "Num Lock";
        break;
    case ID_INDICATOR_SCRL:
        name = "Scroll Lock";
        break;
    default:
        return false;
    }
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    Bool on = False;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
#else
    (void)indicatorId;
    return false;
#endif
}
