#include "platform/desktop/watch.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace {

bool hungUp(int connection)
{
    pollfd p = {connection, POLLRDHUP, 0};
    return connection >= 0 && poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLRDHUP | POLLERR));
}

// Whether the server still takes connections. A connection made and closed
// at once never becomes a client, so an X server does not start over for
// it when no other client is left.
bool serverAnswers(const DisplayWatch& watch)
{
    const int s = connectTo(watch.server, watch.x);
    if (s < 0)
        return false;
    close(s);
    return true;
}

bool serverLost(const DisplayWatch& watch)
{
    return watch.server.sun_family == AF_UNIX && (hungUp(watch.connection) || !serverAnswers(watch));
}

// What the innermost live FaultGuard watches; a signal handler has no other
// way to reach it.
const DisplayWatch* guarded = nullptr;

void onFault(int)
{
    // A server on its way out can hang up on SDL before it stops taking
    // connections: give it a moment to be gone before calling the fault a
    // bug of our own.
    for (int i = 0; guarded && i < 200; i++) {
        if (serverLost(*guarded))
            connectionLost(*guarded);
        const timespec tenMs = {0, 10'000'000};
        nanosleep(&tenMs, nullptr);
    }
    // A fault of its own: let it take its usual course when the faulting
    // instruction runs again.
    signal(SIGSEGV, SIG_DFL);
}

void onAlarm(int)
{
    if (guarded && serverLost(*guarded))
        connectionLost(*guarded);
}

}  // namespace

int connectTo(const sockaddr_un& server, bool x)
{
    const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return -1;
    // Linux X servers listen both on an abstract name and on the file.
    sockaddr_un abstract = server;
    std::memmove(abstract.sun_path + 1, server.sun_path, sizeof server.sun_path - 1);
    abstract.sun_path[0] = '\0';
    const socklen_t length = offsetof(sockaddr_un, sun_path) + 1 + std::strlen(server.sun_path);
    if ((x && connect(s, reinterpret_cast<const sockaddr*>(&abstract), length) == 0) ||
        connect(s, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0)
        return s;
    close(s);
    return -1;
}

bool xServerAnswers(const sockaddr_un& server)
{
    if (server.sun_family != AF_UNIX)
        return false;
    const int s = connectTo(server, true);
    if (s < 0)
        return false;
    // A connection set-up with no authorisation: byte order, protocol 11.0.
    const unsigned char setup[12] = {'l', 0, 11};
    unsigned char reply;
    pollfd p = {s, POLLIN, 0};
    const bool answers =
        write(s, setup, sizeof setup) == sizeof setup && poll(&p, 1, 2000) == 1 && read(s, &reply, 1) == 1;
    close(s);
    return answers;
}

void findConnection(DisplayWatch& watch)
{
    watch.connection = -1;
    DIR* fds = watch.server.sun_family == AF_UNIX ? opendir("/proc/self/fd") : nullptr;
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
        if (std::strncmp(path, watch.server.sun_path, sizeof peer.sun_path - 1) == 0) {
            watch.connection = fd;
            break;
        }
    }
    closedir(fds);
}

void checkConnection(const DisplayWatch& watch)
{
    if (hungUp(watch.connection))
        connectionLost(watch);
}

void connectionLost(const DisplayWatch& watch)
{
    static const char gone[] = "newyear: the display went away\n";
    static const char closed[] = "newyear: the X server closed the demo's connection (the server still runs)\n";
    const bool stillThere = watch.x && xServerAnswers(watch.server);
    const char* line = stillThere ? closed : gone;
    if (write(STDERR_FILENO, line, std::strlen(line)) < 0)
        _exit(1);
    _exit(1);
}

FaultGuard::FaultGuard(const DisplayWatch& watch) : outer(guarded)
{
    guarded = &watch;
    struct sigaction guard = {};
    guard.sa_handler = onFault;
    sigaction(SIGSEGV, &guard, &previousFault);
    guard.sa_handler = onAlarm;
    guard.sa_flags = SA_RESTART;
    sigaction(SIGALRM, &guard, &previousAlarm);
    const itimerval every100ms = {{0, 100'000}, {0, 100'000}};
    setitimer(ITIMER_REAL, &every100ms, &previousTimer);
}

FaultGuard::~FaultGuard()
{
    setitimer(ITIMER_REAL, &previousTimer, nullptr);
    // A tick already on its way is taken here, not by the action put back.
    sigset_t alarm, before;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, &before);
    const timespec now = {0, 0};
    while (sigtimedwait(&alarm, nullptr, &now) == SIGALRM) {
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    sigaction(SIGALRM, &previousAlarm, nullptr);
    sigaction(SIGSEGV, &previousFault, nullptr);
    guarded = outer;
}
