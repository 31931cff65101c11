// The voxel landscape: a 300x300 height map seen in perspective and carried
// along the camera path, drawn as boxes from the far row to the near row so
// that nearer ground covers farther ground.
//
// The height map is an 8-bit 300x300 surface whose index bytes are the
// heights; it wraps around at all four edges. Each box takes its height
// from its own map column and its colour from the column 20 further on.
#pragma once

#include "data/data.h"
#include "effects/tables.h"
#include "render/render.h"

#include <SDL.h>

constexpr int landscapeRows = 100;

// Draws the ground of frame into screen, over whatever is there.
void drawLandscape(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame);
