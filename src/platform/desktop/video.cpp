// Starting SDL's video on the desktop: which driver, the video mode, the
// window's scale, title and icon, filling the screen where no window manager
// does, and reading the input and showing frames once it runs.
#include "assets/assets.h"
#include "platform/desktop/desktop.h"
#include "render/layout.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The display surface is SDL's, and sdl12-compat does not free it when it
// quits: the last one stays in reach here rather than lost, and a process
// that starts the demo again frees the one before.
SDL_Surface* lastDisplay = nullptr;

// SDL 2 would fall back on a display that nobody sees when there is none to
// be had, so the demo would run on invisibly. Unless the user names a video
// driver, ask for the one the environment points at, so that a missing
// display fails here and can be reported.
bool chooseVideoDriver(Edge& edge, std::string& error)
{
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
        return true;  // SDL picks X or Wayland itself, both are there to be seen
    if (x && *x) {
        setVariable(edge.changes, "SDL_VIDEODRIVER", "x11");
        return true;
    }
    // Neither: only the console's own display is left to try.
    setVariable(edge.changes, "SDL_VIDEODRIVER", "kmsdrm");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return true;
    }
    error = "no display to show on: DISPLAY is not set (start newyear from a desktop session, or set DISPLAY)";
    return false;
}

bool startLibrary(Edge& edge, const Options& options, std::string& error)
{
    const char* x = nullptr;
    if (options.mode == ScreenMode::offscreen) {
        setVariable(edge.changes, "SDL_VIDEODRIVER", "dummy");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0)
            return true;
    } else {
        setVariable(edge.changes, "SDL_NO_SIGNAL_HANDLERS", "1");
        setVariable(edge.changes, "SDL12COMPAT_SCALE_METHOD", "nearest", false);
        if (!chooseVideoDriver(edge, error))
            return false;
        // Whatever drives the display, an X server can go away under it.
        x = std::getenv("DISPLAY");
        if (x && *x)
            watchDisplay(edge.x, edge.changes);
        const FaultGuard guard(edge.x);
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0)
            return true;
    }
    error = "cannot open the display";
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
void setIcon(Edge& edge)
{
    edge.icon = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (!edge.icon)
        return;
    Uint8 mask[32 * 4] = {};
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            for (int i = 0; i < iconPaletteSize; i++) {
                const IconColour& c = iconPalette[i];
                if (c.key != icon32[y][x])
                    continue;
                static_cast<Uint32*>(edge.icon->pixels)[y * edge.icon->pitch / 4 + x] = c.r << 16 | c.g << 8 | c.b;
                if (c.a)
                    mask[y * 4 + x / 8] |= 0x80 >> x % 8;
            }
    SDL_WM_SetIcon(edge.icon, mask);
}

}  // namespace

bool startMedia(Edge& edge, const Options& options, std::string& error)
{
    if (!startLibrary(edge, options, error)) {
        SDL_Quit();
        undoChanges(edge.changes);
        return false;
    }
    if (options.mode != ScreenMode::offscreen) {
        SDL_ShowCursor(0);
        SDL_JoystickOpen(0);
    }
    return true;
}

SDL_Surface* openScreen(Edge& edge, const Options& options, std::string& error)
{
    if (options.mode == ScreenMode::offscreen) {
        edge.display = edge.offscreen =
            SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, screenHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
    } else {
        SDL_WM_SetCaption("newyear", "newyear");
        setIcon(edge);
        Uint32 flags = SDL_FULLSCREEN;
        if (options.mode == ScreenMode::window) {
            // The 320x240 picture, scaled up whole in a window of its own.
            flags = 0;
            const std::string scale = std::to_string(options.scale > 0 ? options.scale : fittingScale());
            setVariable(edge.changes, "SDL12COMPAT_WINDOW_SCALING", scale.c_str());
            edge.closeQuits = true;
        }
        findConnection(edge.x);
        if (lastDisplay) {
            SDL_FreeSurface(lastDisplay);
            lastDisplay = nullptr;
        }
        {
            const FaultGuard guard(edge.x);
            edge.display = lastDisplay = SDL_SetVideoMode(screenWidth, screenHeight, 16, flags);
        }
        char driver[16] = "";
        if (edge.display && flags == SDL_FULLSCREEN && SDL_VideoDriverName(driver, sizeof driver) &&
            std::strcmp(driver, "x11") == 0)
            fillScreen();
    }
    if (!edge.display)
        error = std::string("cannot open the display: ") + SDL_GetError();
    return edge.display;
}

// Full screen, the window system's close request is not a quit: the demo
// ends only on the viewer's own keys. Every other event is read and dropped.
bool quitRequested(Edge& edge)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            return true;
        if (event.type == SDL_JOYBUTTONDOWN && (event.jbutton.button == 8 || event.jbutton.button == 14))
            return true;
        if (event.type == SDL_QUIT && edge.closeQuits)
            return true;
    }
    return false;
}

void showFrame(Edge& edge)
{
    SDL_Flip(edge.display);
    SDL_Delay(20);
}

void stopMedia(Edge& edge)
{
    SDL_FreeSurface(edge.icon);
    SDL_FreeSurface(edge.offscreen);
    SDL_Quit();
    undoChanges(edge.changes);
    edge = Edge{};
}
