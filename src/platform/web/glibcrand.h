// The C library's rand() as the desktop's glibc has it, for the browser,
// whose C library (musl) draws another sequence: the snow falls from rand(),
// and with this it falls in the browser exactly as on the desktop. rand.cpp
// makes rand() and srand() of the web build use it.
//
// glibc's generator: 34 words of state, each new one the sum (mod 2^32) of
// the words 31 and 3 back, from a seed spread by 16807 x mod 2^31 - 1 and
// then 310 words thrown away; rand() gives the new word's top 31 bits.
#pragma once

#include <cstdint>

struct GlibcRand {
    uint32_t words[31];
    int front, rear;
};

void seedRand(GlibcRand& rand, unsigned seed);
int nextRand(GlibcRand& rand);
