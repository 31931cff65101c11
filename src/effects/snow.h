// Snowfall: 150 single white pixels that fall at their own speeds, drift
// with the wave table and slide sideways with the camera path. A flake that
// leaves the screen starts again at the top.
//
// The positions come from rand(), which nothing else in the program calls.
// The demo never seeds it, so every run starts from the C library's default
// seed and shows the same snow; the web edge seeds it back to that default
// before each showing after the first.
#pragma once

#include "effects/tables.h"
#include "render/render.h"

#include <cstdint>

struct Flake {
    int32_t x;     // own coordinate, before the camera offset
    int32_t y;     // screen row; negative while above the screen
    int8_t speed;  // rows per frame, 1 to 4
};

constexpr int flakeCount = 150;

struct Snow {
    Flake flakes[flakeCount];
};

// Gives every flake its first place, far above the screen.
void seedFlakes(Snow& snow);
// Draws every flake where it is, then moves it.
void drawFlakes(Snow& snow, const Screen& screen, const Tables& tables, int frame);
