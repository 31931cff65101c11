// The web build's rand() and srand(), in place of its C library's (musl's):
// glibc's generator (glibcrand.h), so the snow falls as on the desktop. Kept
// out of glibcrand.cpp, which the desktop's test links beside glibc's own.
#include "platform/web/glibcrand.h"

namespace {
GlibcRand generator = [] {
    GlibcRand r;
    seedRand(r, 1);
    return r;
}();
}  // namespace

extern "C" int rand()
{
    return nextRand(generator);
}

extern "C" void srand(unsigned seed)
{
    seedRand(generator, seed);
}
