// The demo: its state for the whole run, start-up in its fixed order, and
// one pass of the frame loop.
//
// A Demo holds everything the show draws with and from: the screen, the
// motion tables, the snow, the scroller, the two pictures and the frame
// counter. The platform it runs on is handed in, as platform.h declares
// it: it starts the media library, gives the screen and plays the music,
// and the frame asks it for input. The caller shows each frame.
#pragma once

#include "demo/platform.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "effects/tables.h"
#include "render/render.h"

#include <SDL.h>
#include <cstdint>
#include <string>

// Above this the counter is taken back by one whole path (15000): every
// phase the effects read (frame % 15000, frame % 50, (frame / 2) % 3) stays
// the same, and the counter never comes near the 32-bit limit.
constexpr int32_t frameWrap = 2'000'000'000;

struct Demo {
    Screen screen;
    Tables tables;
    Snow snow;
    Scroller scroller;
    SDL_Surface* panel = nullptr;
    SDL_Surface* heightMap = nullptr;
    int32_t frame = 51;  // always odd; the first frame is drawn with 53
    SDL_Rect skyRect = {0, 0, screenWidth, skyHeight};
    SDL_Rect panelSrcRect = {0, 0, panelWidth, screenHeight};
    SDL_Rect panelDstRect = {panelX, panelY, 0, 0};  // the blit takes only the position
};

// Everything before the first frame, in this order: the motion tables; the
// media library, the cursor and the joystick; the panel and the height map
// from the first of options.dataDirs that holds gfx.dat; the screen; the
// music; the panel's colour key; the scroller and the snow. Music that
// cannot play leaves its reason in silence and the demo runs on. On
// failure, false with one line in error, and nothing is left to stop.
bool startDemo(Demo& demo, Edge& edge, const Options& options, std::string& error, std::string& silence);

// Hands back what startDemo took: the music first, then the images, then
// the rest of the platform's share.
void stopDemo(Demo& demo, Edge& edge);

// Frames drawn without a display or sound, from the data in dir (empty:
// the working directory): for the tools, the benchmarks and the tests.
Options offscreenOptions(const std::string& dir);

// Draws the next frame into demo.screen: sky band, frame counter,
// landscape, input, snow, scroller, panel. Returns false, with the frame
// half drawn, when the viewer asked to quit while it was being drawn.
bool drawFrame(Demo& demo, Edge& edge);
