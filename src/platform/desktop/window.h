// The demo's screen on the desktop: the video mode, full screen or a window
// of a whole-number scale, with its title and icon; the window left to the
// window manager to resize, and toggled in and out of full screen; each
// frame shown and paced (openScreen, demo/platform.h; showFrame,
// desktop.h). Offscreen, a surface of the demo's own.
#pragma once

#include "platform/desktop/desktop.h"

// For F11 and Alt+Enter: full screen becomes a window, a window full screen.
void toggleFullScreen(Edge& edge);
