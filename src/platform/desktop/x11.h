// The X server under the demo. Losing it, as at logout, at any moment of
// the run ends the demo with one line, "the display went away", and status 1.
//
// Xlib's own handler would print two lines and exit through the exit
// handlers while the audio thread still mixes, and the GL library, while
// the video mode is being set, reads replies that never came; both have
// crashed the demo.
#pragma once

#include "platform/desktop/process.h"

#include <csignal>
#include <sys/un.h>

struct XWatch {
    // The local X server's socket, as the display ":N" names it; family 0
    // for a display elsewhere.
    sockaddr_un server = {};
    // SDL's connection to it, once made: when the server goes, it hangs up
    // before it stops listening.
    int connection = -1;
};

// Before SDL connects: a broken connection ends the demo at once. The
// handler it replaces goes into changes, to be put back.
void watchDisplay(XWatch& x, ProcessChanges& changes);
void unwatchDisplay(int (*previous)(_XDisplay*));

// Finds the connection SDL made to the watched server, by its peer's name.
void findConnection(XWatch& x);

// While one lives, a fault with the X server gone is the display's loss,
// not a bug, and is reported as such; any other fault keeps its usual
// effect. For the calls that set up the video, where a dead server has
// made the GL library read replies that never came.
class FaultGuard {
public:
    explicit FaultGuard(const XWatch& x);
    ~FaultGuard();
    FaultGuard(const FaultGuard&) = delete;
    FaultGuard& operator=(const FaultGuard&) = delete;

private:
    struct sigaction previous;
    const XWatch* outer;
};

// On an X server with no window manager nothing would make the full-screen
// window fill the screen: it would keep its first size and show a corner of
// the scaled picture. Moves and stretches it there, as a window manager
// would; the picture is scaled into it, 4:3 kept.
void fillScreen();
