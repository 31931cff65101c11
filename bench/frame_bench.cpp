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
#include <filesystem>
#include <string>

namespace {

Images images;

// Everything the demo has before its first frame.
void startUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    buildTables();
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
    captureFormat();
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(NEWYEAR_DATA_DIR);
    std::string error;
    if (!loadImages(images, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    std::filesystem::current_path(home);
    keyPanel(images.panel);
    std::srand(1);
    resetEffects();
}

Demo makeDemo()
{
    Demo demo;
    demo.panel = images.panel;
    demo.heightMap = images.heightMap;
    return demo;
}

void wholeFrame(benchmark::State& state)
{
    startUp();
    Demo demo = makeDemo();
    for (auto _ : state)
        benchmark::DoNotOptimize(drawFrame(demo));
}
BENCHMARK(wholeFrame);

void skyFill(benchmark::State& state)
{
    startUp();
    Demo demo = makeDemo();
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
        drawLandscape(frame, images.heightMap);
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
    Demo demo = makeDemo();
    for (auto _ : state)
        SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen, &demo.panelDstRect);
}
BENCHMARK(panelBlit);

}  // namespace

BENCHMARK_MAIN();
