// The web build's rand() is glibc's generator written out, so that the snow
// falls in the browser as on the desktop: here, beside glibc's own, it must
// give the same numbers, from the default start and from another seed.
#include "platform/web/glibcrand.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(WebRand, drawsGlibcsSequence)
{
    GlibcRand ours;
    seedRand(ours, 1);
    std::srand(1);  // glibc's own default start
    for (int i = 0; i < 1'000'000; i++)
        ASSERT_EQ(nextRand(ours), std::rand()) << "number " << i;
    seedRand(ours, 2027);
    std::srand(2027);
    for (int i = 0; i < 10'000; i++)
        ASSERT_EQ(nextRand(ours), std::rand()) << "number " << i << " after seed 2027";
}
