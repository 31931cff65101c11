#include "effects/tables.h"

#include <cmath>

void buildTables(Tables& tables)
{
    for (int i = 0; i < pathLength; i++) {
        tables.pathX[i] = static_cast<int32_t>(500 + 500 * std::sin(i * 3.14 / 500));
        tables.pathY[i] = static_cast<int32_t>(250 + 250 * std::cos(i * 3.14 / 350));
    }
    for (int i = 0; i < waveLength; i++)
        tables.waveTable[i] = static_cast<int32_t>(5 * std::sin(i * 3.14 / 25));
}
