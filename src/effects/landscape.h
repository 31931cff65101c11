// The voxel landscape: a 300x300 height map seen in perspective and carried
// along the camera path, drawn as boxes from the far row to the near row so
// that nearer ground covers farther ground.
//
// The height map is an 8-bit 300x300 surface whose index bytes are the
// heights; it wraps around at all four edges. Each box takes its height
// from its own map column and its colour from the column 20 further on.
//
// The camera looks along the map's lines from the path's point (ox, oy):
// line oy + row lies at depth farDepth - depthStep * row, and column ox + col
// lies col to the right of the line of sight straight ahead, which meets the
// screen at x = landscapeX. Widths are projected from an eye at depth 0,
// heights from one eyeSetBack further back: on the screen a column of the
// near row is three times as wide as one of the far row, a unit of its
// height only 2.3 times as tall.
#pragma once

#include "data/data.h"
#include "effects/tables.h"
#include "render/render.h"

#include <SDL.h>

constexpr int landscapeRows = 100;

// Row 0, the far row, lies at depth 298; each row after it is depthStep
// nearer, down to 100 for the near row: a map line is two depth units deep
// and a map column one unit wide.
constexpr int farDepth = 298;
constexpr int depthStep = 2;
constexpr int nearDepth = farDepth - depthStep * (landscapeRows - 1);

// The focal lengths, in pixels per map unit at depth 1: a column at depth d
// is xScale / d pixels wide, a unit of height yScale / (d + eyeSetBack)
// pixels tall.
constexpr int xScale = 600;
constexpr int yScale = 150;
constexpr int eyeSetBack = 50;

// The line of sight through the screen row landscapeY meets the far row at
// height 0 and rises sightRise a row towards the eye: ground on it lands on
// landscapeY, ground below it lower down the screen.
constexpr int sightRise = 3;

// A box's colour comes from the map column this many further on.
constexpr int colourLookAhead = 20;

// A row holds depth / 3 + depth / 12 columns, nearly 5/12 of its depth:
// as many as 250 pixels hold at that depth (xScale * 5 / 12 = 250), so a row
// runs from landscapeX to the screen's right edge or to within three pixels
// of it. Each quotient is truncated on its own.
constexpr int widthDivisor = 3;
constexpr int widthFineDivisor = 12;

constexpr int rowWidth(int depth)
{
    return depth / widthDivisor + depth / widthFineDivisor;
}

// Where the box of column col at depth lands across, from landscapeX.
constexpr int boxX(int col, int depth)
{
    return col * xScale / depth;
}

// Where the top of a box of height h in row row at depth lands down the
// screen, from landscapeY.
constexpr int boxY(int row, int h, int depth)
{
    return (sightRise * row - h) * yScale / (depth + eyeSetBack);
}

// The colour of a box whose colour sample is s. Not clamped: a green or
// blue overflow bit lands in the field above, which gives the high ground
// its pink and the lows their bright blue.
inline int boxColour(const Screen& screen, int s)
{
    return ((s >> screen.rL) << screen.rS) | (((s + 20) >> screen.gL) << screen.gS) | ((s + 80) >> screen.bL);
}

// Draws the ground of frame into screen, over whatever is there.
void drawLandscape(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame);
