// The display the demo shows on: the video driver chosen for the display
// the environment names, that display checked before SDL is let near it,
// and the media library started and stopped around the run (startMedia and
// stopMedia, demo/platform.h).
#pragma once

#include <string>

// The display SDL was asked to open, as the user would name it: for the
// lines that say it cannot be opened.
std::string displayName();
