// libFuzzer target: bytes taken as "gfx.dat" or "hm.dat" go through the
// demo's own reading and checks, and whatever passes is drawn with, so a
// gap in the checks shows up as a bad read in the effects.
#include "data/data.h"
#include "demo/demo.h"
#include "effects/landscape.h"
#include "platform/desktop/desktop.h"

#include <SDL.h>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The demo's own start-up, with the committed files, gives the tables and a
// 5-6-5 screen to draw on.
Demo demo;
Edge edge;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence))
        std::abort();
    return 0;
}

// The first byte picks the file, the rest are its contents.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool isMap = data[0] & 1;
    const char* name = isMap ? "hm.dat" : "gfx.dat";
    std::string error;
    SDL_Surface* image;
    if (!readBmp(SDL_RWFromConstMem(data + 1, int(size - 1)), name, image, error)) {
        if (error.find(name) == std::string::npos || error.find('\n') != std::string::npos)
            std::abort();  // every refusal is one line naming the file
        return 0;
    }
    if (isMap) {
        if (checkHeightMap(image, error))
            for (int frame = 1; frame < pathLength; frame += 2999)
                drawLandscape(demo.screen, demo.tables, image, frame);
    } else if (checkPanel(image, error)) {
        keyPanel(image);
        SDL_Rect to = demo.panelDstRect;
        SDL_UpperBlit(image, &demo.panelSrcRect, demo.screen.surface, &to);
    }
    SDL_FreeSurface(image);
    return 0;
}
