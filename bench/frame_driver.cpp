// Draws N frames (default 1000) offscreen, as the benchmark does, for
// instruction counts under callgrind; with a FILE, its words scroll in place
// of the built-in text, as with newyear --text FILE:
//   valgrind --tool=callgrind bench/frame_driver 1000 [FILE]
#include "demo/demo.h"
#include "platform/desktop/desktop.h"
#include "text/greeting.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1000;
    Demo demo;
    Edge edge;
    std::string error, silence;
    Options options = offscreenOptions(NEWYEAR_SOURCE_DATA);
    static Greeting greeting;
    if (argc > 2) {
        if (!loadGreeting(argv[2], greeting, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        options.greeting = &greeting;
    }
    if (!startDemo(demo, edge, options, error, silence)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < frames; i++)
        drawFrame(demo, edge);
    stopDemo(demo, edge);
    return 0;
}
