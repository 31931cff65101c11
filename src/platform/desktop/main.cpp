// newyear: a self-running new-year greeting. Opens a 320x240 16-bit full
// screen, plays the music once and draws the landscape, the snow, the
// scroller and the panel, waiting 20 ms after each frame, until Escape (or joystick button 8 or
// 14) is pressed. It reads gfx.dat, hm.dat and music.dat and writes nothing.
//
// Started without options it does exactly that, with the data from the
// working directory, or from the installed data folder when gfx.dat is not
// there. The options only add around it: a window, another data folder,
// silence, the sender's own words in the scroller.
#include "demo/demo.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/options.h"

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    Options options;
    Greeting greeting;
    char cwd[4096];
    options.dataDirs = {getcwd(cwd, sizeof cwd) ? cwd : "."};
    if (options.dataDirs[0] != NEWYEAR_INSTALLED_DATA)
        options.dataDirs.push_back(NEWYEAR_INSTALLED_DATA);
    if (const int status = readOptions(argc, argv, options, greeting); status >= 0)
        return status;

    Demo demo;
    Edge edge;
    std::string error, silence;
    if (!startDemo(demo, edge, options, error, silence)) {
        std::fprintf(stderr, "newyear: %s\n", error.c_str());
        return 1;
    }
    if (!edge.notice.empty())
        std::fprintf(stderr, "newyear: %s\n", edge.notice.c_str());
    if (!silence.empty())
        std::fprintf(stderr, "newyear: playing without music: %s\n", silence.c_str());
    if (options.greeting && !greeting.replaced.empty())
        std::fprintf(stderr, "newyear: with no letter here, these show as a box: %s\n", replacedList(greeting).c_str());

    while (drawFrame(demo, edge))
        showFrame(edge);
    stopDemo(demo, edge);
    return 0;
}
