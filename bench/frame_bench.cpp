// The frame and each of its steps on an offscreen 5-6-5 screen, with the
// committed panel and height map: the cost of drawing, without showing it.
#include "demo/demo.h"
#include "effects/landscape.h"
#include "platform/desktop/desktop.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Demo demo;
Edge edge;

// Everything the demo has before its first frame, on an offscreen screen.
void startUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
}

void wholeFrame(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        benchmark::DoNotOptimize(drawFrame(demo, edge));
}
BENCHMARK(wholeFrame);

void skyFill(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        SDL_FillRect(demo.screen.surface, &demo.skyRect, RGB2value(demo.screen, skyColour.r, skyColour.g, skyColour.b));
}
BENCHMARK(skyFill);

// Walks the whole camera path, so every stretch of ground counts. Each
// frame draws the same number of boxes, whatever the ground.
void landscape(benchmark::State& state)
{
    startUp();
    int boxesPerFrame = 0;
    for (int row = 0, depth = farDepth; row < landscapeRows; row++, depth -= depthStep)
        boxesPerFrame += rowWidth(depth);
    int frame = 53;
    for (auto _ : state) {
        drawLandscape(demo.screen, demo.tables, demo.heightMap, frame);
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
        drawFlakes(demo.snow, demo.screen, demo.tables, frame);
        frame += 2;
    }
}
BENCHMARK(snow);

void scroller(benchmark::State& state)
{
    startUp();
    int frame = 53;
    for (auto _ : state) {
        stepScroller(demo.scroller, demo.screen, frame);
        drawScroller(demo.scroller, demo.screen, demo.tables, frame);
        frame += 2;
    }
}
BENCHMARK(scroller);

void panelBlit(benchmark::State& state)
{
    startUp();
    for (auto _ : state)
        SDL_UpperBlit(demo.panel, &demo.panelSrcRect, demo.screen.surface, &demo.panelDstRect);
}
BENCHMARK(panelBlit);

}  // namespace

BENCHMARK_MAIN();
