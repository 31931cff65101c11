#include "platform/web/glibcrand.h"

#include <cstdlib>

void seedRand(GlibcRand& rand, unsigned seed)
{
    int32_t word = seed == 0 ? 1 : static_cast<int32_t>(seed);
    rand.words[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < 31; i++) {
        // 16807 * word mod 2^31 - 1, without overflow (Schrage's method).
        const int32_t hi = word / 127773, lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        rand.words[i] = static_cast<uint32_t>(word);
    }
    rand.front = 3;
    rand.rear = 0;
    for (int i = 0; i < 310; i++)
        nextRand(rand);
}

int nextRand(GlibcRand& rand)
{
    const uint32_t word = rand.words[rand.front] += rand.words[rand.rear];
    rand.front = (rand.front + 1) % 31;
    rand.rear = (rand.rear + 1) % 31;
    return static_cast<int>(word >> 1);
}
