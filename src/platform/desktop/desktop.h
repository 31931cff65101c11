// The desktop edge: the demo on SDL 1.2 (sdl12-compat over SDL 2) and
// SDL_mixer 1.2, full screen or in a window on X or Wayland, or on an offscreen
// surface for the tools and tests. Implements demo/platform.h: display.cpp
// starts and stops the media library, window.cpp opens the screen and shows
// the frames, input.cpp reads the input and audio.cpp plays the music.
#pragma once

#include "demo/platform.h"
#include "platform/desktop/process.h"
#include "platform/desktop/watch.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <string>

struct Edge {
    SDL_Surface* display = nullptr;    // the screen SDL or we made
    SDL_Surface* offscreen = nullptr;  // the screen, when it is a surface of our own
    SDL_Surface* icon = nullptr;
    Mix_Music* music = nullptr;  // null while playing in silence
    bool audioOpen = false;
    bool closeQuits = false;  // in a window the close button quits; full screen ignores it
    bool resizable = false;   // the window may be resized, full screen included
    DisplayWatch watch;
    std::string notice;  // a line for the user about a choice made for them
    ProcessChanges changes;
};

// Shows the frame just drawn, then waits 20 ms: the whole pacing.
void showFrame(Edge& edge);
