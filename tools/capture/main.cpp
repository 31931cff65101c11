// newyear-capture FIRST LAST OUTDIR: draws the demo's frames 1..LAST without
// a display, sound or waiting, and writes FIRST..LAST as OUTDIR/frame-NNNNN.png.
// It reads gfx.dat and hm.dat from the working directory and starts up the
// way the demo does, so frame N here is frame N on the demo's screen.
#include "demo/frame.h"
#include "demo/startup.h"
#include "effects/tables.h"
#include "png.h"
#include "render/render.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int usage(const char* why)
{
    std::fprintf(stderr, "newyear-capture: %s\nusage: newyear-capture FIRST LAST OUTDIR  (1 <= FIRST <= LAST)\n", why);
    return 2;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "newyear-capture: %s\n", message.c_str());
    return 1;
}

// Whole decimal numbers only: "12x" or "" would otherwise pass as 12 or 0.
bool parseCount(const char* text, long& value)
{
    const char* end = text + std::char_traits<char>::length(text);
    auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && ptr != text;
}

bool writableFolder(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode) && access(path, W_OK | X_OK) == 0;
}

std::string frameName(const std::string& dir, long n)
{
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05ld.png", n);
    return dir + name;
}

// Draws frames 1..last and writes first..last; 0, or 1 after a message.
int drawFrames(const Images& images, long first, long last, const std::string& dir)
{
    std::string error;
    // The demo's own 16-bit mode, cleared the same way, so blits convert the
    // panel to the same pixel format.
    if (!openScreen(error))
        return fail(error);
    if (screen->format->BitsPerPixel != 16 || screen->format->Rmask != 0xF800 || screen->format->Gmask != 0x07E0 ||
        screen->format->Bmask != 0x001F)
        return fail("the screen is not 5-6-5");
    keyPanel(images.panel);
    resetEffects();

    Demo demo;
    demo.panel = images.panel;
    demo.heightMap = images.heightMap;
    for (long n = 1; n <= last; n++) {
        drawFrame(demo);
        if (n >= first && !writePng(screen, frameName(dir, n), error))
            return fail(error);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return usage("expected three arguments");
    long first, last;
    if (!parseCount(argv[1], first) || !parseCount(argv[2], last))
        return usage("FIRST and LAST must be whole numbers");
    if (first < 1 || last < first)
        return usage("FIRST must be at least 1 and LAST at least FIRST");
    if (!writableFolder(argv[3]))
        return usage("OUTDIR must be a writable folder");

    // The demo's start-up in its order: the snow's seeding takes the first
    // numbers of rand(), so nothing here may call it earlier.
    buildTables();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return fail(std::string("cannot start SDL: ") + SDL_GetError());

    Images images;
    std::string error;
    if (!loadImages(images, error)) {
        SDL_Quit();
        return fail(error);
    }

    const int status = drawFrames(images, first, last, argv[3]);
    // Everything is handed back, so that a leak checker sees only what the
    // libraries themselves keep.
    freeImages(images);
    SDL_Quit();
    return status;
}
