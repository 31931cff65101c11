// The screen the demo draws on, and the geometry of its 16-bit pixels.
//
// Everything the demo draws goes into a Screen, with SDL_FillRect, a blit,
// or putPixel: RGB2value packs 8-bit colour components into a pixel value
// of the screen's format, putPixel plots one clipped pixel. Both take the
// screen they work on, so a test can hand them an offscreen 5-6-5 surface.
// Only a 320x240 16-bit surface with blue at bit 0 is supported.
#pragma once

#include "render/layout.h"

#include <SDL.h>
#include <cstdint>

struct Screen {
    SDL_Surface* surface = nullptr;
    // The losses and shifts of its pixel format; blue always sits at bit 0.
    int8_t rL = 0, rS = 0, gL = 0, gS = 0, bL = 0;
};

// The screen for surface, with the losses and shifts of its pixel format:
// colours are packed for the surface being drawn on.
Screen screenOf(SDL_Surface* surface);

int RGB2value(const Screen& screen, unsigned char r, unsigned char g, unsigned char b);

// Stores the low 16 bits of value at (x, y); does nothing off screen.
void putPixel(const Screen& screen, int x, int y, unsigned value);
