// wmclose WINDOW: asks a window to close, as a window manager's close button
// does (a WM_DELETE_WINDOW message), for the tests, which run without one.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Display* x = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
    if (!x) {
        std::fprintf(stderr, "usage: wmclose WINDOW (on an X display)\n");
        return 2;
    }
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::strtoul(argv[1], nullptr, 0);
    e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = XInternAtom(x, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(x);
    return 0;
}
