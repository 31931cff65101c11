#include "demo/xdisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

[[noreturn]] void displayLost()
{
    static const char line[] = "newyear: the display went away\n";
    if (write(STDERR_FILENO, line, sizeof line - 1) < 0)
        _exit(1);
    _exit(1);
}

int onIOError(Display*)
{
    displayLost();
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

// The top-level window that SDL made for this process, by its _NET_WM_PID.
Window ownWindow(Display* x, Window root)
{
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", True);
    Window rootReturn, parent, *children = nullptr, found = 0;
    unsigned count = 0;
    if (pidAtom == None || !XQueryTree(x, root, &rootReturn, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; i++) {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(x, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &value) ==
                Success &&
            value && n == 1 && *reinterpret_cast<unsigned long*>(value) == static_cast<unsigned long>(getpid()))
            found = children[i];
        if (value)
            XFree(value);
    }
    if (children)
        XFree(children);
    return found;
}

// The local X server's socket, as the display ":N" names it; empty for a
// display elsewhere.
sockaddr_un server = {};

bool serverAnswers()
{
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    if (s < 0)
        return true;
    // Linux servers listen both on an abstract name and on the file.
    sockaddr_un abstract = server;
    std::memmove(abstract.sun_path + 1, server.sun_path, sizeof server.sun_path - 1);
    abstract.sun_path[0] = '\0';
    const socklen_t length = offsetof(sockaddr_un, sun_path) + 1 + std::strlen(server.sun_path);
    const bool answers = connect(s, reinterpret_cast<sockaddr*>(&abstract), length) == 0 ||
                         connect(s, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    close(s);
    return answers;
}

// Our connection to the server, once SDL has made it: when the server goes,
// it hangs up before it stops listening.
int connection = -1;

bool hungUp()
{
    pollfd p = {connection, POLLRDHUP, 0};
    return connection >= 0 && poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLRDHUP | POLLERR));
}

// The socket SDL opened to the server, found by its peer's name.
int findConnection()
{
    for (int fd = 3; fd < 1024; fd++) {
        sockaddr_un peer = {};
        socklen_t length = sizeof peer;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sun_family != AF_UNIX)
            continue;
        const char* path = peer.sun_path[0] ? peer.sun_path : peer.sun_path + 1;
        if (std::strncmp(path, server.sun_path, sizeof peer.sun_path - 1) == 0)
            return fd;
    }
    return -1;
}

void onFault(int)
{
    if (server.sun_family == AF_UNIX && (hungUp() || !serverAnswers()))
        displayLost();
    // A fault of its own: let it take its usual course when the faulting
    // instruction runs again.
    signal(SIGSEGV, SIG_DFL);
}

struct sigaction previous;

}  // namespace

void watchDisplay()
{
    XSetIOErrorHandler(onIOError);
    const char* name = std::getenv("DISPLAY");
    const char* colon = name ? std::strchr(name, ':') : nullptr;
    if (!colon || (colon != name && std::strncmp(name, "unix:", 5) != 0))
        return;
    server.sun_family = AF_UNIX;
    const size_t digits = std::strspn(colon + 1, "0123456789");
    std::strcpy(server.sun_path, "/tmp/.X11-unix/X");
    std::strncat(server.sun_path, colon + 1, digits < 20 ? digits : 20);
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

void guardVideoMode(bool on)
{
    static bool armed = false;
    if (on && !armed) {
        if (server.sun_family == AF_UNIX)
            connection = findConnection();
        struct sigaction guard = {};
        guard.sa_handler = onFault;
        sigaction(SIGSEGV, &guard, &previous);
    } else if (!on && armed) {
        sigaction(SIGSEGV, &previous, nullptr);
    }
    armed = on;
}
