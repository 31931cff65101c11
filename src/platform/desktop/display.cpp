#include "platform/desktop/display.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/wayland.h"
#include "platform/desktop/x11.h"

#include <cstdlib>
#include <cstring>

namespace {

// SDL 2 would fall back on a display that nobody sees when there is none to
// be had, so the demo would run on invisibly. Unless the user names a video
// driver, ask for the one the environment points at, X before Wayland as
// SDL itself prefers, so that a missing display fails here and can be
// reported. The server it uses is watched for its loss.
bool chooseVideoDriver(Edge& edge, std::string& error)
{
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (chosen && *chosen) {
        if (std::strcmp(chosen, "wayland") == 0)
            return watchWayland(edge.watch, error);
        // Whatever drives the display, an X server can go away under it.
        if (x && *x)
            watchX(edge.watch);
        return true;
    }
    if (x && *x) {
        setVariable(edge.changes, "SDL_VIDEODRIVER", "x11");
        watchX(edge.watch);
        return true;
    }
    if (wayland && *wayland) {
        if (!watchWayland(edge.watch, error))
            return false;
        setVariable(edge.changes, "SDL_VIDEODRIVER", "wayland");
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
    if (options.mode == ScreenMode::offscreen) {
        setVariable(edge.changes, "SDL_VIDEODRIVER", "dummy");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0)
            return true;
        error = std::string("cannot open the display: ") + SDL_GetError();
        return false;
    }
    setVariable(edge.changes, "SDL_NO_SIGNAL_HANDLERS", "1");
    setVariable(edge.changes, "SDL12COMPAT_SCALE_METHOD", "nearest", false);
    if (!chooseVideoDriver(edge, error))
        return false;
    const FaultGuard guard(edge.watch);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) == 0)
        return true;
    error = "cannot open " + displayName() + ": " + SDL_GetError();
    const char* x = std::getenv("DISPLAY");
    if (const char* driver = std::getenv("SDL_VIDEODRIVER"); x && *x && driver && !std::strcmp(driver, "x11"))
        error += " (is an X server running there, and may this user use it?)";
    return false;
}

}  // namespace

std::string displayName()
{
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && !std::strcmp(driver, "wayland"))
        return std::string("the Wayland display \"") + (wayland ? wayland : "") + "\"";
    if (x && *x)
        return "the display \"" + std::string(x) + "\"";
    return "the display";
}

bool startMedia(Edge& edge, const Options& options, std::string& error)
{
    if (!startLibrary(edge, options, error)) {
        SDL_Quit();
        unwatchX();
        undoChanges(edge.changes);
        return false;
    }
    if (options.mode != ScreenMode::offscreen) {
        SDL_ShowCursor(0);
        SDL_JoystickOpen(0);
    }
    return true;
}

void stopMedia(Edge& edge)
{
    SDL_FreeSurface(edge.icon);
    SDL_FreeSurface(edge.offscreen);
    SDL_Quit();
    unwatchX();
    undoChanges(edge.changes);
    edge = Edge{};
}
