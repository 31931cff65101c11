#include "platform/desktop/x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whatever the demo's window is watching, for Xlib's handler, and the
// handler that ours replaced, to be put back.
const DisplayWatch* watched = nullptr;
XIOErrorHandler previous = nullptr;

int onIOError(Display*)
{
    connectionLost(*watched);
}

bool hasProperty(Display* x, Window w, const char* name)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* value = nullptr;
    const Atom atom = XInternAtom(x, name, True);
    const bool has = atom != None &&
                     XGetWindowProperty(x, w, atom, 0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                                        &value) == Success &&
                     type != None;
    if (value)
        XFree(value);
    return has;
}

bool ownedByUs(Display* x, Window w, Atom pidAtom)
{
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* value = nullptr;
    const bool ours =
        XGetWindowProperty(x, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &value) == Success &&
        value && n == 1 && *reinterpret_cast<unsigned long*>(value) == static_cast<unsigned long>(getpid());
    if (value)
        XFree(value);
    return ours;
}

// The window that SDL made for this process, by its _NET_WM_PID, among the
// children of under, and theirs, down to depth: a window manager puts it
// inside frames of its own.
Window ownWindow(Display* x, Window under, int depth = 0)
{
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", True);
    Window rootReturn, parent, *children = nullptr, found = 0;
    unsigned count = 0;
    if (pidAtom == None || !XQueryTree(x, under, &rootReturn, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; i++)
        found = ownedByUs(x, children[i], pidAtom) ? children[i] : 0;
    for (unsigned i = 0; i < count && !found && depth > 0; i++)
        found = ownWindow(x, children[i], depth - 1);
    if (children)
        XFree(children);
    return found;
}

}  // namespace

void watchX(DisplayWatch& watch)
{
    watch = DisplayWatch{};
    watched = &watch;
    previous = XSetIOErrorHandler(onIOError);
    const char* name = std::getenv("DISPLAY");
    const char* colon = name ? std::strchr(name, ':') : nullptr;
    if (!colon || (colon != name && std::strncmp(name, "unix:", 5) != 0))
        return;
    watch.server.sun_family = AF_UNIX;
    watch.x = true;
    const size_t digits = std::strspn(colon + 1, "0123456789");
    std::strcpy(watch.server.sun_path, "/tmp/.X11-unix/X");
    std::strncat(watch.server.sun_path, colon + 1, digits < 20 ? digits : 20);
}

void unwatchX()
{
    if (!watched)
        return;
    XSetIOErrorHandler(previous);
    watched = nullptr;
    previous = nullptr;
}

void fillScreen()
{
    Display* x = XOpenDisplay(nullptr);
    if (!x)
        return;
    const Window root = XDefaultRootWindow(x);
    // A window manager makes a full-screen window fill the screen itself.
    if (!hasProperty(x, root, "_NET_SUPPORTING_WM_CHECK")) {
        const Window ours = ownWindow(x, root);
        if (ours) {
            const int screenNumber = XDefaultScreen(x);
            XMoveResizeWindow(x, ours, 0, 0, XDisplayWidth(x, screenNumber), XDisplayHeight(x, screenNumber));
            XRaiseWindow(x, ours);
        }
    }
    XCloseDisplay(x);
}

bool wmFullScreen()
{
    Display* x = XOpenDisplay(nullptr);
    if (!x)
        return false;
    const Window ours = ownWindow(x, XDefaultRootWindow(x), 3);
    const Atom state = XInternAtom(x, "_NET_WM_STATE", True), full = XInternAtom(x, "_NET_WM_STATE_FULLSCREEN", True);
    bool found = false;
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* value = nullptr;
    if (ours && state != None && full != None &&
        XGetWindowProperty(x, ours, state, 0, 32, False, XA_ATOM, &type, &format, &count, &after, &value) == Success &&
        value)
        for (unsigned long i = 0; i < count && !found; i++)
            found = reinterpret_cast<Atom*>(value)[i] == full;
    if (value)
        XFree(value);
    XCloseDisplay(x);
    return found;
}
