// The X server under the demo: its socket watched (watch.h), Xlib's
// handler for a broken connection, and what only X needs: filling the
// screen where no window manager does, and the window manager's full-screen
// state.
#pragma once

#include "platform/desktop/process.h"
#include "platform/desktop/watch.h"

// Before SDL connects: the socket that DISPLAY names goes into watch, and a
// broken connection ends the demo at once. The handler it replaces goes
// into changes, to be put back.
void watchX(DisplayWatch& watch, ProcessChanges& changes);
void unwatchX(int (*previous)(_XDisplay*));

// Whether an X server still answers at server: it replies to a connection
// set-up, even to refuse it, within two seconds; one on its way out never
// does. Async-signal-safe.
bool xServerAnswers(const sockaddr_un& server);

// On an X server with no window manager nothing would make the full-screen
// window fill the screen: it would keep its first size and show a corner of
// the scaled picture. Moves and stretches it there, as a window manager
// would; the picture is scaled into it, 4:3 kept.
void fillScreen();

// Whether the window manager has made the demo's window full screen on its
// own, as its full-screen key does.
bool wmFullScreen();
