// What a viewer sees of the landscape along the whole camera path, from the
// demo's own drawLandscape on an offscreen 5-6-5 screen.
//
// A flight is the 7500 frames the demo draws on one pass of the path:
// `frame` 53, 55, ... 15051. Each frame is drawn on its own: the whole screen
// is first filled with `unDrawn`, a value the colour formula cannot make, so
// a pixel still holding it is one that no box drew in that frame. Only the
// columns right of the panel, x 150..319, are looked at.
//
// - holes: undrawn pixels in rows 60..239, over all 180 x 170 pixels there.
//   In the demo they keep whatever older frames left.
// - sky: undrawn pixels in the sky band, rows 0..59, over its 60 x 170.
// - saturated: drawn pixels (rows 0..239) whose colour comes from a colour
//   sample s >= 176, the strong yellow and red bands, over all drawn pixels.
//   The colour is decoded back to s with a table made by drawing flat maps.
// - legible: pixels of the text band, rows 200..225, whose ground has a
//   contrast ratio (L1 + 0.05) / (L2 + 0.05) of at least 3 with the
//   scroller's text colour of that row, over all 26 x 170 pixels; a hole is
//   not legible. Row y takes the colour of buffer row y - 200, the
//   scroller's own textColour (its wobble is left out). Both colours are
//   widened from 5-6-5 to 8 bits by repeating their top bits, and L is the
//   relative luminance of web accessibility rules (sRGB, linearised).
// - spread: how far light and shade go in the frame: p90 - p10 of the CIE
//   lightness L* (0..100, from that same luminance Y as 116 f(Y) - 16 with a
//   white of Y 1) of all drawn pixels, rows 0..239, each pixel once; the
//   quantiles by the nearest rank below, as `quantile`. 0 when none is drawn.
// The ground in the colour formula's overflow bands, where a channel passes
// its top and spills into the next (s >= 176), is `saturated`: a frame has
// overflow when it is above 0.
#pragma once

#include "effects/tables.h"
#include "render/render.h"

#include <SDL.h>
#include <cstdint>
#include <vector>

constexpr int flightFrames = 7500;
constexpr uint16_t unDrawn = 0x07E0;  // pure green: too much green for any s
constexpr int saturatedFrom = 176;

// The demo's frame counter for frame n = 1..flightFrames of a flight.
constexpr int flightFrame(int n)
{
    return 51 + 2 * n;
}

struct Measures {
    double holes, sky, saturated, legible;  // shares, 0..1
    double spread = 0;                      // L* difference, 0..100
};

// For every 16-bit colour the s of the first flat map drawn in it, or -1.
std::vector<int> colourSamples(const Screen& screen, const Tables& tables);

// Fills screen with unDrawn and draws the landscape of frame on it.
void drawBare(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame);

// Measures what drawBare left on screen.
Measures measureScreen(const Screen& screen, const std::vector<int>& samples);

// The spread of what drawBare left on screen.
double lightnessSpread(const Screen& screen);

std::vector<Measures> measureFlight(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap);

// The value at share q (0..1) of the ascending order, nearest rank below.
double quantile(std::vector<double> values, double q);
double mean(const std::vector<double>& values);
