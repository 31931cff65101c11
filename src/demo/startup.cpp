#include "data/data.h"
#include "demo/demo.h"

bool startDemo(Demo& demo, Edge& edge, const Options& options, std::string& error, std::string& silence)
{
    demo = Demo{};
    // The tables come before any library call, and nothing calls rand()
    // before the snow is seeded: every run shows the same snow.
    buildTables(demo.tables);
    std::string dir;
    if (!findData(options.dataDirs, dir, error) || !startMedia(edge, options, error))
        return false;
    if (!loadImages(dir, demo.panel, demo.heightMap, error)) {
        stopMedia(edge);
        return false;
    }
    SDL_Surface* surface = openScreen(edge, options, error);
    if (!surface) {
        stopDemo(demo, edge);
        return false;
    }
    demo.screen = screenOf(surface);
    // The library hands the surface over uncleared, and rows 60..239 are
    // only ever drawn over: what the first frames leave there must be black,
    // not old heap contents.
    SDL_FillRect(surface, nullptr, 0);
    if (options.music)
        startMusic(edge, dir, silence);
    keyPanel(demo.panel);
    clearScroller(demo.scroller, options.greeting);
    seedFlakes(demo.snow);
    return true;
}

void stopDemo(Demo& demo, Edge& edge)
{
    stopMusic(edge);
    SDL_FreeSurface(demo.panel);
    SDL_FreeSurface(demo.heightMap);
    demo.panel = demo.heightMap = nullptr;
    demo.screen = Screen{};
    stopMedia(edge);
}

Options offscreenOptions(const std::string& dir)
{
    Options options;
    if (!dir.empty())
        options.dataDirs = {dir};
    options.mode = ScreenMode::offscreen;
    options.music = false;
    return options;
}
