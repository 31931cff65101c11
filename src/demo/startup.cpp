#include "demo/startup.h"

#include "assets/assets.h"
#include "demo/xdisplay.h"

#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "effects/tables.h"
#include "render/render.h"

#include <SDL_mixer.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string workingDirectory()
{
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : ".";
}

std::string quoted(const char* name)
{
    return std::string("\"") + name + "\"";
}

std::string inFolder(const char* name, const std::string& dir)
{
    return quoted(name) + " in " + dir;
}

std::string cannotOpen(const char* name, const std::string& dir, int err)
{
    return "cannot open " + inFolder(name, dir) + ": " + std::strerror(err);
}

// Only a regular file is opened: a FIFO would wait for a writer for ever,
// and a device is no picture or music either.
bool checkFile(const std::string& dir, const char* name, std::string& error)
{
    struct stat st;
    if (stat((dir + "/" + name).c_str(), &st) != 0)
        error = cannotOpen(name, dir, errno);
    else if (S_ISDIR(st.st_mode))
        error = inFolder(name, dir) + " is a folder, not a file";
    else if (!S_ISREG(st.st_mode))
        error = inFolder(name, dir) + " is not a regular file";
    else
        return true;
    return false;
}

bool loadBmp(const std::string& dir, const char* name, SDL_Surface*& image, std::string& error)
{
    if (!checkFile(dir, name, error))
        return false;
    SDL_RWops* file = SDL_RWFromFile((dir + "/" + name).c_str(), "rb");
    if (!file) {
        error = cannotOpen(name, dir, errno);
        return false;
    }
    return readBmp(file, name, image, error);
}

std::string describe(const SDL_Surface* s)
{
    return std::to_string(s->w) + "x" + std::to_string(s->h) + " with " + std::to_string(s->format->BitsPerPixel) +
           " bits per pixel";
}

Uint32 le32(const Uint8* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | Uint32(p[3]) << 24;
}

// What SDL would take too far: it reads as many palette entries as the
// header claims, one at a time and on past the end of the file, and it
// allocates and clears the claimed picture before reading a pixel. A few
// bytes could keep it busy for minutes or take gigabytes. Returns why the
// header is refused, or an empty string.
std::string headerProblem(SDL_RWops* file)
{
    Uint8 h[54] = {};
    const int start = SDL_RWtell(file);
    const int got = SDL_RWread(file, h, 1, sizeof h);
    SDL_RWseek(file, start, RW_SEEK_SET);
    // Other magics are left to SDL to judge; a cut header it would fill
    // with whatever follows.
    if (got < 2 || h[0] != 'B' || h[1] != 'M')
        return "";
    const bool old = got >= 18 && le32(h + 14) == 12;  // 16-bit sizes, no count
    if (got < (old ? 26 : int(sizeof h)))
        return "cut short after " + std::to_string(got) + " bytes";
    const int bpp = old ? h[24] | h[25] << 8 : h[28] | h[29] << 8;
    const Uint32 used = old ? 0 : le32(h + 46);
    if (bpp <= 8 && used > (1u << bpp))
        return "a palette of " + std::to_string(used) + " colours";
    // Far more than the demo shows, and well inside what memory can hold.
    const int64_t w = old ? h[18] | h[19] << 8 : int32_t(le32(h + 18));
    const int64_t hgt = old ? h[20] | h[21] << 8 : int32_t(le32(h + 22));
    if (w * w > 8192 * 8192 || hgt * hgt > 8192 * 8192)
        return std::to_string(w) + "x" + std::to_string(hgt) + " pixels";
    return "";
}

// SDL 2 would fall back on a display that nobody sees when there is none to
// be had, so the demo would run on invisibly. Unless the user names a video
// driver, ask for the one the environment points at, so that a missing
// display fails here and can be reported.
bool chooseVideoDriver(std::string& error)
{
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
        return true;  // SDL picks X or Wayland itself, both are there to be seen
    if (x && *x) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
        return true;
    }
    // Neither: only the console's own display is left to try.
    setenv("SDL_VIDEODRIVER", "kmsdrm", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return true;
    }
    unsetenv("SDL_VIDEODRIVER");
    error = "no display to show on: DISPLAY is not set (start newyear from a desktop session, or set DISPLAY)";
    return false;
}

bool startLibrary(const Setup& setup, std::string& error)
{
    if (setup.display == Display::offscreen) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    } else {
        // SDL would turn Ctrl+C and SIGTERM into a window close request,
        // which the demo ignores; leave both signals their usual effect.
        setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
        // The 320x240 picture is scaled to the screen: keep its pixels
        // sharp unless the user has chosen otherwise.
        setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
        if (!chooseVideoDriver(error))
            return false;
        // Whatever drives the display, an X server can go away under it.
        if (const char* x = std::getenv("DISPLAY"); x && *x)
            watchDisplay();
    }
    guardVideoMode(setup.display != Display::offscreen);
    const bool started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0;
    guardVideoMode(false);
    if (started)
        return true;
    error = "cannot open the display";
    const char* x = std::getenv("DISPLAY");
    if (x && *x)
        error += " \"" + std::string(x) + "\"";
    error += std::string(": ") + SDL_GetError();
    if (const char* driver = std::getenv("SDL_VIDEODRIVER"); x && *x && driver && !std::strcmp(driver, "x11"))
        error += " (is an X server running there, and may this user use it?)";
    return false;
}

// The window's scale when none is asked for: the largest whole one that
// leaves room for a title bar and a panel on the desktop.
int fittingScale()
{
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    if (!desktop || desktop->current_w <= 0 || desktop->current_h <= 0)
        return 2;
    const int scale = std::min(desktop->current_w / screenWidth, desktop->current_h * 9 / 10 / screenHeight);
    return std::max(scale, 1);
}

// The 32x32 icon drawn into the program, for the title bar and task bar.
void setIcon(Demo& demo)
{
    demo.icon = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (!demo.icon)
        return;
    Uint8 mask[32 * 4] = {};
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            for (int i = 0; i < iconPaletteSize; i++) {
                const IconColour& c = iconPalette[i];
                if (c.key != icon32[y][x])
                    continue;
                static_cast<Uint32*>(demo.icon->pixels)[y * demo.icon->pitch / 4 + x] = c.r << 16 | c.g << 8 | c.b;
                if (c.a)
                    mask[y * 4 + x / 8] |= 0x80 >> x % 8;
            }
    SDL_WM_SetIcon(demo.icon, mask);
}

bool openScreen(Demo& demo, const Setup& setup, std::string& error)
{
    SDL_Surface* surface;
    if (setup.display == Display::offscreen) {
        surface = demo.offscreen =
            SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, screenHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
    } else {
        SDL_ShowCursor(0);
        SDL_JoystickOpen(0);
        SDL_WM_SetCaption("newyear", "newyear");
        setIcon(demo);
        Uint32 flags = SDL_FULLSCREEN;
        if (setup.display == Display::window) {
            // The 320x240 picture, scaled up whole in a window of its own.
            flags = 0;
            const std::string scale = std::to_string(setup.scale > 0 ? setup.scale : fittingScale());
            setenv("SDL12COMPAT_WINDOW_SCALING", scale.c_str(), 1);
        }
        guardVideoMode(true);
        surface = SDL_SetVideoMode(screenWidth, screenHeight, 16, flags);
        guardVideoMode(false);
        char driver[16] = "";
        if (surface && flags == SDL_FULLSCREEN && SDL_VideoDriverName(driver, sizeof driver) &&
            std::strcmp(driver, "x11") == 0)
            fillScreen();
    }
    if (!surface) {
        error = std::string("cannot open the display: ") + SDL_GetError();
        return false;
    }
    setScreen(surface);
    // The library hands the surface over uncleared, and rows 60..239 are
    // only ever drawn over: what the first frames leave there must be black,
    // not old heap contents.
    SDL_FillRect(screen, nullptr, 0);
    return true;
}

// Music is a bonus: without a device or a playable file the show goes on in
// silence, and silence says why.
void startMusic(Demo& demo, const std::string& dir, std::string& silence)
{
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) {
        silence = std::string("no sound: ") + SDL_GetError();
        return;
    }
    demo.audioOpen = true;
    std::string error;
    if (!checkFile(dir, "music.dat", error)) {
        silence = error;
        return;
    }
    demo.music = Mix_LoadMUS((dir + "/music.dat").c_str());
    if (!demo.music) {
        silence = inFolder("music.dat", dir) + " cannot be played: " + Mix_GetError();
        return;
    }
    Mix_PlayMusic(demo.music, 0);
}

}  // namespace

bool readBmp(SDL_RWops* file, const char* name, SDL_Surface*& image, std::string& error)
{
    image = nullptr;
    if (!file) {
        error = quoted(name) + " cannot be read: " + SDL_GetError();
        return false;
    }
    if (const std::string problem = headerProblem(file); !problem.empty()) {
        SDL_RWclose(file);
        error = quoted(name) + " is not a readable BMP image (" + problem + ")";
        return false;
    }
    image = SDL_LoadBMP_RW(file, 1);
    if (!image)
        error = quoted(name) + " is not a readable BMP image (" + SDL_GetError() + ")";
    return image;
}

bool checkPanel(const SDL_Surface* panel, std::string& error)
{
    if (panel->w >= panelWidth && panel->h >= screenHeight)
        return true;
    error = "\"gfx.dat\" must be a picture of at least " + std::to_string(panelWidth) + "x" +
            std::to_string(screenHeight) + " pixels, but it is " + describe(panel);
    return false;
}

bool checkHeightMap(const SDL_Surface* m, std::string& error)
{
    // The landscape reads the map as 300 rows of 300 index bytes.
    if (m->w == mapSize && m->h == mapSize && m->format->BytesPerPixel == 1 && m->pitch == mapSize)
        return true;
    error = "\"hm.dat\" must be an 8-bit 300x300 height map, but it is " + describe(m);
    return false;
}

bool findData(const std::vector<std::string>& dirs, std::string& dir, std::string& error)
{
    if (dirs.empty()) {
        dir = workingDirectory();
        return true;
    }
    std::string looked;
    for (const std::string& d : dirs) {
        // A broken link or a folder is there too: loading it says what is wrong.
        struct stat st;
        if (lstat((d + "/gfx.dat").c_str(), &st) == 0) {
            dir = d;
            return true;
        }
        looked += (looked.empty() ? "" : " or ") + d;
    }
    error = cannotOpen("gfx.dat", looked, ENOENT);
    return false;
}

bool loadImages(Demo& demo, const std::string& dir, std::string& error)
{
    if (loadBmp(dir, "gfx.dat", demo.panel, error) && checkPanel(demo.panel, error) &&
        loadBmp(dir, "hm.dat", demo.heightMap, error) && checkHeightMap(demo.heightMap, error))
        return true;
    SDL_FreeSurface(demo.panel);
    SDL_FreeSurface(demo.heightMap);
    demo.panel = demo.heightMap = nullptr;
    return false;
}

void keyPanel(SDL_Surface* panel)
{
    const Uint32 key = SDL_MapRGB(panel->format, 255, 0, 255);
    // On a palette without magenta the nearest colour would come back, and
    // an ordinary part of the picture would turn transparent.
    Uint8 r, g, b;
    SDL_GetRGB(key, panel->format, &r, &g, &b);
    if (r == 255 && g == 0 && b == 255)
        SDL_SetColorKey(panel, SDL_SRCCOLORKEY, key);
}

Setup offscreenSetup(const std::string& dir)
{
    Setup setup;
    if (!dir.empty())
        setup.dataDirs = {dir};
    setup.display = Display::offscreen;
    setup.music = false;
    return setup;
}

bool startDemo(Demo& demo, const Setup& setup, std::string& error, std::string& silence)
{
    demo = Demo{};
    // The tables come before any library call, and nothing calls rand()
    // before the snow is seeded: every run shows the same snow.
    buildTables();
    std::string dir;
    if (!findData(setup.dataDirs, dir, error))
        return false;
    if (!startLibrary(setup, error)) {
        SDL_Quit();
        return false;
    }
    if (!loadImages(demo, dir, error) || !openScreen(demo, setup, error)) {
        stopDemo(demo);
        return false;
    }
    if (setup.music && setup.display != Display::offscreen)
        startMusic(demo, dir, silence);
    keyPanel(demo.panel);
    demo.closeQuits = setup.display == Display::window;
    clearScroller();
    seedFlakes();
    return true;
}

void stopDemo(Demo& demo)
{
    if (demo.audioOpen) {
        Mix_HaltMusic();
        if (demo.music)
            Mix_FreeMusic(demo.music);
        Mix_CloseAudio();
    }
    SDL_FreeSurface(demo.panel);
    SDL_FreeSurface(demo.heightMap);
    SDL_FreeSurface(demo.icon);
    // The display surface belongs to SDL, which does not free it when it
    // quits (sdl12-compat); screen keeps it in reach rather than lost.
    if (demo.offscreen) {
        SDL_FreeSurface(demo.offscreen);
        screen = nullptr;
    }
    SDL_Quit();
    demo = Demo{};
}
