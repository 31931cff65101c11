// Draws N frames (default 1000) offscreen, as the benchmark does, for
// instruction counts under callgrind:
//   valgrind --tool=callgrind bench/frame_driver 1000
#include "demo/demo.h"
#include "platform/desktop/desktop.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    Demo demo;
    Edge edge;
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < frames; i++)
        drawFrame(demo, edge);
    stopDemo(demo, edge);
    return 0;
}
