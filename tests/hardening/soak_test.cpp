// A long run of the frame loop from just below the counter's wrap: every
// frame must match, pixel for pixel, a run started low at the same phases,
// and drawing must never allocate, not even inside SDL.
#include "demo/demo.h"
#include "platform/desktop/desktop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Every allocation in the process, SDL's included, is counted here.
std::atomic<long> allocations{0};

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; GCC ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
namespace {
void countAllocation(const volatile void*, size_t)
{
    allocations++;
}
void ignoreFree(const volatile void*) {}
const int hooked = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree);
}  // namespace
#else
// The executable's own malloc family comes before glibc's for every
// library; these count and hand over to glibc.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void* malloc(size_t n)
{
    allocations++;
    return __libc_malloc(n);
}
void* calloc(size_t n, size_t size)
{
    allocations++;
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t n)
{
    allocations++;
    return __libc_realloc(p, n);
}
void* memalign(size_t align, size_t n)
{
    allocations++;
    return __libc_memalign(align, n);
}
void* aligned_alloc(size_t align, size_t n)
{
    allocations++;
    return __libc_memalign(align, n);
}
int posix_memalign(void** p, size_t align, size_t n)
{
    allocations++;
    *p = __libc_memalign(align, n);
    return *p ? 0 : ENOMEM;
}
}
#endif

namespace {

constexpr int soakFrames = 20'000;

uint64_t screenHash(const Screen& screen)
{
    // FNV-1a over the screen, eight bytes at a time.
    uint64_t h = 1469598103934665603u;
    const auto* p = static_cast<const uint64_t*>(screen.surface->pixels);
    for (int i = 0; i < screen.surface->pitch * screenHeight / 8; i++)
        h = (h ^ p[i]) * 1099511628211u;
    return h;
}

class Soak : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string error, silence;
        ASSERT_TRUE(startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence)) << error;
        started = demo;
    }
    static void TearDownTestSuite() { stopDemo(demo, edge); }

    // Draws soakFrames frames from the counter value first, from the state
    // the demo started with, and keeps each frame's hash. Returns the
    // allocations made while drawing all but the first frame: SDL sets up
    // the panel's blitter, once, on its first blit.
    long run(int32_t first, std::vector<uint64_t>& hashes, std::vector<int32_t>& counters)
    {
        demo = started;
        // The snow's restarts draw from rand(), the C library's one
        // generator: both runs start it at the same point.
        std::srand(1);
        SDL_FillRect(demo.screen.surface, nullptr, 0);
        demo.frame = first;
        long before = allocations;
        for (int i = 0; i < soakFrames; i++) {
            if (i == 1)
                before = allocations;
            if (!drawFrame(demo, edge))
                break;
            counters[i] = demo.frame;
            hashes[i] = screenHash(demo.screen);
        }
        return allocations - before;
    }

    static Demo demo, started;
    static Edge edge;
};

Demo Soak::demo, Soak::started;
Edge Soak::edge;

TEST_F(Soak, twentyThousandFramesAcrossTheWrapMatchALowRunWithoutAllocating)
{
    // Wraps after about 5000 frames; the low run starts at the same
    // phases modulo 15000, which 50 and 6 both divide.
    const int32_t high = frameWrap - 10'001;
    const int32_t low = high % pathLength + pathLength;
    ASSERT_EQ(high % 2, 1);
    std::vector<uint64_t> highHashes(soakFrames), lowHashes(soakFrames);
    std::vector<int32_t> highCounters(soakFrames), lowCounters(soakFrames);

    EXPECT_EQ(run(high, highHashes, highCounters), 0) << "allocations while drawing";
    EXPECT_EQ(run(low, lowHashes, lowCounters), 0) << "allocations while drawing";

    int wraps = 0;
    for (int i = 0; i < soakFrames; i++) {
        ASSERT_GT(highCounters[i], 0) << "frame " << i;
        ASSERT_LE(highCounters[i], frameWrap) << "frame " << i;
        if (i > 0)
            wraps += highCounters[i] < highCounters[i - 1];
        ASSERT_EQ(highCounters[i] % pathLength, lowCounters[i] % pathLength) << "frame " << i;
        ASSERT_EQ(highHashes[i], lowHashes[i]) << "frame " << i << " differs from the low run";
    }
    // At frame 5000, then every 7500 frames.
    EXPECT_EQ(wraps, 2);
    // The run did not stand still: frames a path step apart differ.
    EXPECT_NE(highHashes[0], highHashes[100]);
}

}  // namespace
