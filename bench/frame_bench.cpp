// The frame and each of its steps on an offscreen 5-6-5 screen, with the
// committed panel and height map: the cost of drawing, without showing it.
#include "demo/demo.h"
#include "effects/landscape.h"
#include "platform/desktop/desktop.h"
#include "text/greeting.h"

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

// The same with a personal greeting in the scroller: the words the README
// shows, in Latin, Greek and Cyrillic letters.
void wholeFrameGreeting(benchmark::State& state)
{
    static Demo greetingDemo;
    static Edge greetingEdge;
    static Greeting greeting;
    static const bool started = [] {
        const char words[] = "Mutlu y\u0131llar, a\u011Fabeyim! \u015Eimdiden iyi ki vars\u0131n. "
                             "Szcz\u0119\u015Bliwego Nowego Roku! \u039A\u03B1\u03BB\u03AE "
                             "\u03C7\u03C1\u03BF\u03BD\u03B9\u03AC! \u0417 \u041D\u043E\u0432\u0438\u043C "
                             "\u0440\u043E\u043A\u043E\u043C! \u2605";
        std::string error, silence;
        Options options = offscreenOptions(NEWYEAR_SOURCE_DATA);
        options.greeting = &greeting;
        if (!readGreeting(words, sizeof words - 1, greeting, error) ||
            !startDemo(greetingDemo, greetingEdge, options, error, silence)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        return true;
    }();
    (void)started;
    for (auto _ : state)
        benchmark::DoNotOptimize(drawFrame(greetingDemo, greetingEdge));
}
BENCHMARK(wholeFrameGreeting);

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
