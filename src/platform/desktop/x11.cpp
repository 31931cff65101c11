#include "platform/desktop/x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
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

bool serverAnswers(const sockaddr_un& server)
{
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    if (s < 0)
        return true;
    // Linux servers listen both on an abstract name and on the file.
    sockaddr_un abstract = server;
    std::memmove(abstract.sun_path + 1, server.sun_path, sizeof server.sun_path - 1);
    abstract.sun_path[0] = '\0';
    const socklen_t length = offsetof(sockaddr_un, sun_path) + 1 + std::strlen(server.sun_path);
    const bool answers = connect(s, reinterpret_cast<const sockaddr*>(&abstract), length) == 0 ||
                         connect(s, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0;
    close(s);
    return answers;
}

bool hungUp(int connection)
{
    pollfd p = {connection, POLLRDHUP, 0};
    return connection >= 0 && poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLRDHUP | POLLERR));
}

// What the innermost live FaultGuard watches; a signal handler has no other
// way to reach it.
const XWatch* guarded = nullptr;

void onFault(int)
{
    if (guarded && guarded->server.sun_family == AF_UNIX &&
        (hungUp(guarded->connection) || !serverAnswers(guarded->server)))
        displayLost();
    // A fault of its own: let it take its usual course when the faulting
    // instruction runs again.
    signal(SIGSEGV, SIG_DFL);
}

}  // namespace

void watchDisplay(XWatch& x, ProcessChanges& changes)
{
    changes.ioErrorHandler = XSetIOErrorHandler(onIOError);
    changes.handlerSet = true;
    x = XWatch{};
    const char* name = std::getenv("DISPLAY");
    const char* colon = name ? std::strchr(name, ':') : nullptr;
    if (!colon || (colon != name && std::strncmp(name, "unix:", 5) != 0))
        return;
    x.server.sun_family = AF_UNIX;
    const size_t digits = std::strspn(colon + 1, "0123456789");
    std::strcpy(x.server.sun_path, "/tmp/.X11-unix/X");
    std::strncat(x.server.sun_path, colon + 1, digits < 20 ? digits : 20);
}

void unwatchDisplay(int (*previous)(_XDisplay*))
{
    XSetIOErrorHandler(previous);
}

void findConnection(XWatch& x)
{
    x.connection = -1;
    DIR* fds = x.server.sun_family == AF_UNIX ? opendir("/proc/self/fd") : nullptr;
    if (!fds)
        return;
    while (const dirent* entry = readdir(fds)) {
        const int fd = std::atoi(entry->d_name);
        sockaddr_un peer = {};
        socklen_t length = sizeof peer;
        if (fd <= STDERR_FILENO || fd == dirfd(fds) ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sun_family != AF_UNIX)
            continue;
        const char* path = peer.sun_path[0] ? peer.sun_path : peer.sun_path + 1;
        if (std::strncmp(path, x.server.sun_path, sizeof peer.sun_path - 1) == 0) {
            x.connection = fd;
            break;
        }
    }
    closedir(fds);
}

FaultGuard::FaultGuard(const XWatch& x) : outer(guarded)
{
    guarded = &x;
    struct sigaction guard = {};
    guard.sa_handler = onFault;
    sigaction(SIGSEGV, &guard, &previous);
}

FaultGuard::~FaultGuard()
{
    sigaction(SIGSEGV, &previous, nullptr);
    guarded = outer;
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
