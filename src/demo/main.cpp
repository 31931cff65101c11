// newyear: a self-running new-year greeting. Opens a 320x240 16-bit full
// screen, plays the music once and draws the landscape, the snow, the
// scroller and the panel every 20 ms until Escape (or joystick button 8 or
// 14) is pressed. It reads gfx.dat, hm.dat and music.dat from the working
// directory and writes nothing.
#include "demo/frame.h"
#include "demo/startup.h"
#include "render/render.h"

#include <cstdio>
#include <string>

int main()
{
    Demo demo;
    Setup setup;
    std::string error, silence;
    if (!startDemo(demo, setup, error, silence)) {
        std::fprintf(stderr, "newyear: %s\n", error.c_str());
        return 1;
    }
    if (!silence.empty())
        std::fprintf(stderr, "newyear: playing without music: %s\n", silence.c_str());

    while (drawFrame(demo)) {
        SDL_Flip(screen);
        SDL_Delay(20);
    }
    stopDemo(demo);
    return 0;
}
