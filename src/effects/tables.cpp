#include "effects/tables.h"

#include <cmath>

int32_t pathX[pathLength];
int32_t pathY[pathLength];
int32_t waveTable[waveLength];

void buildTables()
{
    for (int i = 0; i < pathLength; i++) {
        pathX[i] = static_cast<int32_t>(500 + 500 * std::sin(i * 3.14 / 500));
        pathY[i] = static_cast<int32_t>(250 + 250 * std::cos(i * 3.14 / 350));
    }
    for (int i = 0; i < waveLength; i++)
        waveTable[i] = static_cast<int32_t>(5 * std::sin(i * 3.14 / 25));
}
