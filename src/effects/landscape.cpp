#include "effects/landscape.h"

#include <cstdint>

void drawLandscape(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame)
{
    const int k = frame % pathLength;
    const int ox = tables.pathX[k];
    const int oy = tables.pathY[k];
    const auto* map = static_cast<const uint8_t*>(heightMap->pixels);

    // One step behind the far row: each row steps nearer before it draws.
    int depth = farDepth + depthStep;
    for (int row = 0; row < landscapeRows; row++) {
        depth -= depthStep;
        const uint8_t* mapRow = map + (row + oy) % mapSize * mapSize;
        const int cols = rowWidth(depth);
        for (int col = 0; col < cols; col++) {
            const int h = mapRow[(col + ox) % mapSize];
            const int s = mapRow[(col + ox + colourLookAhead) % mapSize];
            const int sx = boxX(col, depth);
            const int sy = boxY(row, h, depth);
            // FillRect writes the clipped box back, so every box starts afresh.
            SDL_Rect voxelRect = {static_cast<Sint16>(sx + landscapeX), static_cast<Sint16>(sy + landscapeY), boxWidth,
                                  boxHeight};
            SDL_FillRect(screen.surface, &voxelRect, boxColour(screen, s));
        }
    }
}
