// A Wayland compositor to show on. SDL 2.26 falls back to a display nobody
// sees when the compositor is not there, and crashes in its mouse set-up
// when the compositor offers no input seat (weston's headless backend), so
// both are checked before SDL starts its Wayland video.
#pragma once

#include "platform/desktop/watch.h"

#include <string>

// The compositor that WAYLAND_DISPLAY names answers and has a seat: its
// socket goes into watch. Otherwise false, with one line in error naming
// the display.
bool watchWayland(DisplayWatch& watch, std::string& error);
