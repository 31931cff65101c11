// Losing the X server, as at logout, at any moment of the run: the demo
// says so in one line and ends with status 1.
//
// Xlib's own handler would print two lines and exit through the exit
// handlers while the audio thread still mixes, and the GL library, while
// the video mode is being set, reads replies that never came; both have
// crashed the demo.
#pragma once

// Before SDL connects: a broken connection ends the demo at once.
void watchDisplay();

// On an X server with no window manager nothing would make the full-screen
// window fill the screen: it would keep its first size and show a corner of
// the scaled picture. Moves and stretches it there, as a window manager
// would; the picture is scaled into it, 4:3 kept.
void fillScreen();

// Around setting the video mode: a fault while the display cannot be
// reached is the display's loss, not a bug, and is reported as such. Any
// other fault keeps its usual effect.
void guardVideoMode(bool on);
