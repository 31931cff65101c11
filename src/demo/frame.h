// One pass of the frame loop, in its fixed order: sky band, frame counter,
// landscape, input, snow, scroller, panel. The caller shows the frame.
#pragma once

#include <SDL.h>
#include <cstdint>

// Well below the 32-bit limit; taking 15000 off keeps frame % 15000,
// frame % 50 and (frame / 2) % 3, every phase the effects read.
constexpr int32_t frameLimit = 2'000'000'000;

struct Demo {
    SDL_Surface* panel = nullptr;
    SDL_Surface* heightMap = nullptr;
    int32_t frame = 51;  // always odd; the first frame is drawn with 53
    SDL_Rect skyRect = {0, 0, 320, 60};
    SDL_Rect panelSrcRect = {0, 0, 150, 240};
    SDL_Rect panelDstRect = {0, 0, 0, 0};
};

// Escape, or joystick button 8 or 14, pressed.
bool isQuitEvent(const SDL_Event& event);

// Drains the event queue; true when it held a quit event.
bool quitRequested();

// Draws the next frame into screen. Returns false, with the frame half
// drawn, when the viewer asked to quit while it was being drawn.
bool drawFrame(Demo& demo);
