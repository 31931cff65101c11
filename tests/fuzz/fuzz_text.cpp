// libFuzzer target: bytes taken as a personal greeting, from a file or a
// link, go through the demo's own reading and cleaning, and whatever passes
// is set through the scroller glyph by glyph, so a gap in the checks shows
// up as a bad read of a glyph or past the greeting.
#include "demo/demo.h"
#include "platform/desktop/desktop.h"
#include "text/greeting.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The demo's own start-up, with the committed files, gives a screen and a
// scroller to set the words with.
Demo demo;
Edge edge;
Greeting greeting;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(NEWYEAR_SOURCE_DATA), error, silence))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    if (!readGreeting(reinterpret_cast<const char*>(data), size, greeting, error)) {
        if (error.empty() || error.find('\n') != std::string::npos)
            std::abort();  // every refusal is one line
        return 0;
    }
    if (greeting.length < greetingLeadIn + 1 + greetingRunOut ||
        greeting.length > greetingLeadIn + greetingMaxLength + greetingRunOut ||
        replacedList(greeting).empty() != greeting.replaced.empty())
        std::abort();
    clearScroller(demo.scroller, &greeting);
    // Every third frame sets a glyph: once round the whole greeting, with
    // the buffer drawn now and then.
    for (int step = 0, frame = 55; step <= greeting.length; step++, frame += 6) {
        stepScroller(demo.scroller, demo.screen, frame);
        if (step % 32 == 0)
            drawScroller(demo.scroller, demo.screen, demo.tables, frame);
    }
    if (demo.scroller.textCursor != 1)
        std::abort();
    return 0;
}
