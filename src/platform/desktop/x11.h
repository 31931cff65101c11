// The X server under the demo: its socket watched (watch.h), Xlib's
// handler for a broken connection, and what only X needs: filling the
// screen where no window manager does, and the window manager's full-screen
// state.
#pragma once

#include "platform/desktop/watch.h"

// Before SDL connects: the socket that DISPLAY names goes into watch, and
// Xlib's handler for a broken connection ends the demo at once.
void watchX(DisplayWatch& watch);
// After SDL has quit: Xlib's handler as it was before watchX, if it ran.
void unwatchX();

// On an X server with no window manager nothing would make the full-screen
// window fill the screen: it would keep its first size and show a corner of
// the scaled picture. Moves and stretches it there, as a window manager
// would; the picture is scaled into it, 4:3 kept.
void fillScreen();

// Whether the window manager has made the demo's window full screen on its
// own, as its full-screen key does.
bool wmFullScreen();
