#include "effects/snow.h"

#include <cstdlib>

// The first flakes start 1000 rows above the screen, so the snow sets in
// gradually after about five seconds.
void seedFlakes(Snow& snow)
{
    for (Flake& f : snow.flakes) {
        f.x = std::rand() % 270 + 50;
        f.y = -1000 - std::rand() % 260;
        f.speed = static_cast<int8_t>(std::rand() % 4 + 1);
    }
}

void drawFlakes(Snow& snow, const Screen& screen, const Tables& tables, int frame)
{
    const int shift = 2 * tables.pathX[frame % pathLength];
    for (int i = 0; i < flakeCount; i++) {
        Flake& f = snow.flakes[i];
        // A negative remainder puts the flake past the right edge, where
        // putPixel drops it: it is clipped, not wrapped.
        putPixel(screen, screenWidth - (shift + f.x) % 270, f.y, 0xFFFFFF);
        if (f.x > screenWidth || f.y > screenHeight) {
            f.x = std::rand() % 270;
            f.y = -1;
            f.speed = static_cast<int8_t>(std::rand() % 4 + 1);
        } else {
            f.y += f.speed;
            f.x += tables.waveTable[(i + frame) % waveLength] / 3;
        }
    }
}
