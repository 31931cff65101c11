#include "platform/desktop/window.h"

#include "assets/assets.h"
#include "platform/desktop/display.h"
#include "platform/desktop/x11.h"
#include "render/layout.h"

#include <SDL_syswm.h>
#include <algorithm>
#include <cstring>
#include <dlfcn.h>

namespace {

// The display surface is SDL's, and sdl12-compat does not free it when it
// quits: the last one stays in reach here rather than lost, and a process
// that starts the demo again frees the one before.
SDL_Surface* lastDisplay = nullptr;

// The largest whole scale whose window fits the desktop; with room, one
// that also leaves room for a title bar and a panel. 0 when the desktop's
// size is not known.
int largestScale(bool room)
{
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    if (!desktop || desktop->current_w <= 0 || desktop->current_h <= 0)
        return 0;
    const int height = room ? desktop->current_h * 9 / 10 : desktop->current_h;
    return std::max(std::min(desktop->current_w / screenWidth, height / screenHeight), 1);
}

// The window's scale: the one asked for, lowered to the largest that fits
// the desktop, with a line in edge.notice that says so; none asked for,
// the largest that leaves room around it.
int windowScale(Edge& edge, int asked)
{
    if (asked == 0) {
        const int scale = largestScale(true);
        return scale ? scale : 2;
    }
    const int most = largestScale(false);
    if (most == 0 || asked <= most)
        return asked;
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    edge.notice = "a window of scale " + std::to_string(asked) + " (" + std::to_string(asked * screenWidth) + "x" +
                  std::to_string(asked * screenHeight) + ") does not fit the " + std::to_string(desktop->current_w) +
                  "x" + std::to_string(desktop->current_h) + " desktop: using scale " + std::to_string(most);
    return most;
}

// Lets the window manager resize the window, full screen included, and the
// picture follow it, scaled by sdl12-compat with 4:3 kept; with a scale,
// the window first gets that size. SDL 1.2 has no call for either: these
// are SDL 2's own, under sdl12-compat.
void letResize(Edge& edge, int scale)
{
    SDL_Window* window = SDL12COMPAT_GetWindow();
    void* sdl2 = window ? dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD) : nullptr;
    if (!sdl2)
        return;
    if (auto resizable = reinterpret_cast<void (*)(SDL_Window*, int)>(dlsym(sdl2, "SDL_SetWindowResizable")))
        resizable(window, 1);
    auto size = reinterpret_cast<void (*)(SDL_Window*, int, int)>(dlsym(sdl2, "SDL_SetWindowSize"));
    if (size && scale > 0)
        size(window, scale * screenWidth, scale * screenHeight);
    dlclose(sdl2);
    edge.resizable = true;
}

bool onX()
{
    char driver[16] = "";
    return SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, "x11") == 0;
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

// sdl12-compat toggles by what it last asked SDL 2 for; a window manager's
// own full screen (its key, or a request from outside) is news to it, so
// such a window is first marked full screen, then taken out of it. Only a
// window has a close button that quits.
void toggleFullScreen(Edge& edge)
{
    const bool x = onX();
    if (x && !(edge.display->flags & SDL_FULLSCREEN) && wmFullScreen())
        SDL_WM_ToggleFullScreen(edge.display);
    if (!SDL_WM_ToggleFullScreen(edge.display))
        return;
    edge.closeQuits = !(edge.display->flags & SDL_FULLSCREEN);
    if (!edge.closeQuits) {
        if (x)
            fillScreen();
    } else if (!edge.resizable) {
        letResize(edge, largestScale(true));
    }
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
            const std::string scale = std::to_string(windowScale(edge, options.scale));
            setVariable(edge.changes, "SDL12COMPAT_WINDOW_SCALING", scale.c_str());
            edge.closeQuits = true;
        }
        findConnection(edge.watch);
        if (lastDisplay) {
            SDL_FreeSurface(lastDisplay);
            lastDisplay = nullptr;
        }
        {
            const FaultGuard guard(edge.watch);
            edge.display = lastDisplay = SDL_SetVideoMode(screenWidth, screenHeight, 16, flags);
        }
        if (edge.display && flags == 0)
            letResize(edge, 0);
        if (edge.display && flags == SDL_FULLSCREEN && onX())
            fillScreen();
    }
    if (!edge.display)
        error = "cannot open " + (options.mode == ScreenMode::offscreen ? "the display" : displayName()) + ": " +
                SDL_GetError();
    return edge.display;
}

void showFrame(Edge& edge)
{
    SDL_Flip(edge.display);
    SDL_Delay(20);
}
