// The demo's state for the whole run, and one pass of the frame loop in its
// fixed order: sky band, frame counter, landscape, input, snow, scroller,
// panel. The caller shows the frame.
#pragma once

#include "render/render.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdint>

// Above this the counter is taken back by one whole path (15000): every
// phase the effects read (frame % 15000, frame % 50, (frame / 2) % 3) stays
// the same, and the counter never comes near the 32-bit limit.
constexpr int32_t frameWrap = 2'000'000'000;

// The picture panel covers the left columns of the screen, top to bottom;
// the sky band the top rows.
constexpr int panelWidth = 150;
constexpr int skyHeight = 60;

struct Demo {
    SDL_Surface* panel = nullptr;
    SDL_Surface* heightMap = nullptr;
    Mix_Music* music = nullptr;  // null while playing in silence
    bool audioOpen = false;
    SDL_Surface* offscreen = nullptr;  // the screen, when it is a surface of our own
    SDL_Surface* icon = nullptr;
    bool closeQuits = false;  // in a window the close button quits; full screen ignores it
    int32_t frame = 51;       // always odd; the first frame is drawn with 53
    SDL_Rect skyRect = {0, 0, screenWidth, skyHeight};
    SDL_Rect panelSrcRect = {0, 0, panelWidth, screenHeight};
    SDL_Rect panelDstRect = {0, 0, 0, 0};
};

// Drains the event queue; true when it held Escape or joystick button 8 or
// 14 pressed, or, with closeQuits, the window system's close request.
bool quitRequested(bool closeQuits);

// Draws the next frame into screen. Returns false, with the frame half
// drawn, when the viewer asked to quit while it was being drawn.
bool drawFrame(Demo& demo);
