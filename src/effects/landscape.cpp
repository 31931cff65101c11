#include "effects/landscape.h"

#include <cstdint>

void drawLandscape(const Screen& screen, const Tables& tables, const SDL_Surface* heightMap, int frame)
{
    const int k = frame % pathLength;
    const int ox = tables.pathX[k];
    const int oy = tables.pathY[k];
    const auto* map = static_cast<const uint8_t*>(heightMap->pixels);

    int depth = 300;
    for (int row = 0; row < landscapeRows; row++) {
        depth -= 2;
        const uint8_t* mapRow = map + (row + oy) % mapSize * mapSize;
        const int cols = depth / 3 + depth / 12;
        for (int col = 0; col < cols; col++) {
            const int h = mapRow[(col + ox) % mapSize];
            const int s = mapRow[(col + ox + 20) % mapSize];
            const int sx = col * 600 / depth;
            const int sy = (3 * row - h) * 150 / (depth + 50);
            // FillRect writes the clipped box back, so every box starts afresh.
            SDL_Rect voxelRect = {static_cast<Sint16>(sx + landscapeX), static_cast<Sint16>(sy + landscapeY), boxWidth,
                                  boxHeight};
            // Not clamped: a green or blue overflow bit lands in the field
            // above, which gives the high ground its pink and the lows their
            // bright blue.
            const int colour =
                ((s >> screen.rL) << screen.rS) | (((s + 20) >> screen.gL) << screen.gS) | ((s + 80) >> screen.bL);
            SDL_FillRect(screen.surface, &voxelRect, colour);
        }
    }
}
