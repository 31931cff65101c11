// Drawing a picture for the docs on a 5-6-5 surface of any size: pixels,
// lines, boxes, discs and text in the demo's 8x16 font. Everything is
// clipped to the surface.
#pragma once

#include "render/render.h"

#include <string>

constexpr int glyphWidth = 8;
constexpr int glyphHeight = 16;

void plot(const Screen& canvas, int x, int y, int colour);
void fill(const Screen& canvas, int x, int y, int w, int h, int colour);
void outline(const Screen& canvas, int x, int y, int w, int h, int colour);
// Every pixel from (x0, y0) to (x1, y1); with dash, dash pixels drawn and
// dash left out in turn.
void line(const Screen& canvas, int x0, int y0, int x1, int y1, int colour, int dash = 0);
void disc(const Screen& canvas, int x, int y, int radius, int colour);
// The text's top left corner at (x, y); its code page 437 bytes are glyphs.
void text(const Screen& canvas, int x, int y, const std::string& s, int colour);
