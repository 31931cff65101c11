// The frame and each of its steps on an offscreen 5-6-5 screen, with the
// committed panel and height map: the cost of drawing, without showing it.
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "effects/tables.h"
#include "render/render.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Demo demo;

// Everything the demo has before its first frame, on an offscreen screen.
void startUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    std::string error, silence;
    if (!startDemo(demo, offscreenSetup(NEWYEAR_DATA_DIR), error, silence)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
}

void wholeFrame(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        benchmark::DoNotOptimize(drawFrame(demo));
}
BENCHMARK(wholeFrame);

void skyFill(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        SDL_FillRect(screen, &demo.skyRect, RGB2value(60, 80, 150));
}
BENCHMARK(skyFill);

// Walks the whole camera path, so every stretch of ground counts. Each
// frame draws the same number of boxes, whatever the ground.
void landscape(benchmark::State& state)
{
    startUp();
    int boxesPerFrame = 0;
    for (int row = 0, depth = 300; row < landscapeRows; row++) {
        depth -= 2;
        boxesPerFrame += depth / 3 + depth / 12;
    }
    int frame = 53;
    for (auto _ : state) {
        drawLandscape(frame, demo.heightMap);
        frame = (frame + 2) % pathLength;
    }
    state.counters["boxes"] = boxesPerFrame;
    state.counters["boxes/s"] =
        benchmark::Counter(double(boxesPerFrame) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(landscape);

void snow(benchmark::State& state)
{
    startUp();
    int frame = 53;
    for (auto _ : state) {
        drawFlakes(frame);
        frame += 2;
    }
}
BENCHMARK(snow);

void scroller(benchmark::State& state)
{
    startUp();
    int frame = 53;
    for (auto _ : state) {
        stepScroller(frame);
        drawScroller(frame);
        frame += 2;
    }
}
BENCHMARK(scroller);

void panelBlit(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen, &demo.panelDstRect);
}
BENCHMARK(panelBlit);

}  // namespace

BENCHMARK_MAIN();
