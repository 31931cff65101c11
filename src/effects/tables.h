// The integer tables that drive all motion, filled at start-up before any
// library call, so that the frame loop never evaluates a sine.
//
// pathX/pathY are the camera's path over the height map (0..999, 0..500);
// waveTable is a short sine (-4..4) for the snow's drift and the scroller's
// wobble. The angle factor is 3.14, not pi: the periods are not whole
// numbers of entries, and the jump where an index wraps is part of the show.
#pragma once

#include <cstdint>

constexpr int pathLength = 15000;
constexpr int waveLength = 50;

struct Tables {
    int32_t pathX[pathLength];
    int32_t pathY[pathLength];
    int32_t waveTable[waveLength];
};

void buildTables(Tables& tables);
