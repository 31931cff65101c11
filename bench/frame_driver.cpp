// Draws N frames (default 1000) offscreen, as the benchmark does, for
// instruction counts under callgrind:
//   valgrind --tool=callgrind bench/frame_driver 1000
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/tables.h"
#include "render/render.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    buildTables();
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
    captureFormat();
    std::filesystem::current_path(NEWYEAR_DATA_DIR);
    Images images;
    std::string error;
    if (!loadImages(images, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    keyPanel(images.panel);
    resetEffects();
    Demo demo;
    demo.panel = images.panel;
    demo.heightMap = images.heightMap;
    for (int i = 0; i < frames; i++)
        drawFrame(demo);
    freeImages(images);
    SDL_FreeSurface(screen);
    return 0;
}
