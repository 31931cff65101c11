// The display surface and the geometry of its 16-bit pixels.
//
// Everything the demo draws goes through here, SDL_FillRect or a blit:
// RGB2value packs 8-bit colour components into a pixel value of the
// screen's format, putPixel plots one clipped pixel. Both work on whatever
// surface `screen` points at, so a test can hand them an offscreen 5-6-5
// surface. Only a 320x240 16-bit surface with blue at bit 0 is supported.
#pragma once

#include <SDL.h>
#include <cstdint>

constexpr int screenWidth = 320;
constexpr int screenHeight = 240;

extern SDL_Surface* screen;
extern int8_t rL, rS, gL, gS, bL;

// Points screen at surface and takes the losses and shifts of its pixel
// format into rL..bL: colours are packed for the surface being drawn on.
void setScreen(SDL_Surface* surface);

int RGB2value(unsigned char r, unsigned char g, unsigned char b);

// Stores the low 16 bits of value at (x, y); does nothing off screen.
void putPixel(int x, int y, unsigned value);
