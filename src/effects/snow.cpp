#include "effects/snow.h"

#include "effects/tables.h"
#include "render/render.h"

#include <cstdlib>

Flake flakes[flakeCount];

// The first flakes start 1000 rows above the screen, so the snow sets in
// gradually after about five seconds.
void seedFlakes()
{
    for (Flake& f : flakes) {
        f.x = std::rand() % 270 + 50;
        f.y = -1000 - std::rand() % 260;
        f.speed = static_cast<int8_t>(std::rand() % 4 + 1);
    }
}

void drawFlakes(int frame)
{
    const int shift = 2 * pathX[frame % pathLength];
    for (int i = 0; i < flakeCount; i++) {
        Flake& f = flakes[i];
        // A negative remainder puts the flake past the right edge, where
        // putPixel drops it: it is clipped, not wrapped.
        putPixel(screenWidth - (shift + f.x) % 270, f.y, 0xFFFFFF);
        if (f.x > screenWidth || f.y > screenHeight) {
            f.x = std::rand() % 270;
            f.y = -1;
            f.speed = static_cast<int8_t>(std::rand() % 4 + 1);
        } else {
            f.y += f.speed;
            f.x += waveTable[(i + frame) % waveLength] / 3;
        }
    }
}
