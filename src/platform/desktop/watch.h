// The display server under the demo, an X server or a Wayland compositor.
// Losing it, as at logout, at any moment of the run ends the demo with one
// line, "the display went away", and status 1.
//
// SDL cannot be left to notice: on Wayland it sends a quit request (read as
// the close button in a window) or shows on into nothing (full screen), and
// while the video is set up it can wait for ever for a compositor that is
// gone. On X, Xlib's own handler would print two lines and exit through the
// exit handlers while the audio thread still mixes, and the GL library,
// while the video mode is being set, reads replies that never came; both
// have crashed the demo.
#pragma once

#include <csignal>
#include <sys/time.h>
#include <sys/un.h>

struct DisplayWatch {
    // The local server's socket; family 0 when there is none to watch.
    sockaddr_un server = {};
    // An X server: it also listens on the abstract name, and a closed
    // connection can be told from a server that is gone.
    bool x = false;
    // SDL's connection to it, once made: when the server goes, it hangs up
    // before it stops listening.
    int connection = -1;
};

// A new connection to server, or -1; an X server is tried on its abstract
// name first. Async-signal-safe.
int connectTo(const sockaddr_un& server, bool x);

// Whether an X server still answers at server: it replies to a connection
// set-up, even to refuse it, within two seconds; one on its way out never
// does. Async-signal-safe.
bool xServerAnswers(const sockaddr_un& server);

// Finds the connection SDL made to the watched server, by its peer's name.
void findConnection(DisplayWatch& watch);

// Ends the demo with one line if SDL's connection has been hung up: for
// every frame's input step.
void checkConnection(const DisplayWatch& watch);

// Says what happened to the connection, in one line, and ends the process
// with status 1 at once. Async-signal-safe.
[[noreturn]] void connectionLost(const DisplayWatch& watch);

// While one lives, a fault with the server gone is the display's loss, not
// a bug, and is reported as such; any other fault keeps its usual effect.
// Every 100 ms it also checks that the server is still there: SDL can wait
// for ever for a compositor that is gone. For the calls that start the
// video and set its mode.
class FaultGuard {
public:
    explicit FaultGuard(const DisplayWatch& watch);
    ~FaultGuard();
    FaultGuard(const FaultGuard&) = delete;
    FaultGuard& operator=(const FaultGuard&) = delete;

private:
    struct sigaction previousFault, previousAlarm;
    itimerval previousTimer;
    const DisplayWatch* outer;
};
