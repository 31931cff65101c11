// The frame's input step on the desktop (quitRequested, demo/platform.h):
// the keys and buttons that quit or toggle full screen, the window's close
// button, and the display's loss noticed between frames.
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

namespace {

bool togglesFullScreen(const SDL_keysym& key)
{
    return key.sym == SDLK_F11 || (key.sym == SDLK_RETURN && (key.mod & KMOD_ALT));
}

}  // namespace

// Full screen, the window system's close request is not a quit: the demo
// ends only on the viewer's own keys. F11 and Alt+Enter toggle full screen;
// every other event is read and dropped. A connection to the display that
// was hung up ends the demo here, whatever SDL made of it.
bool quitRequested(Edge& edge)
{
    checkConnection(edge.watch);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)
            return true;
        if (event.type == SDL_KEYDOWN && togglesFullScreen(event.key.keysym))
            toggleFullScreen(edge);
        if (event.type == SDL_JOYBUTTONDOWN && (event.jbutton.button == 8 || event.jbutton.button == 14))
            return true;
        if (event.type == SDL_QUIT) {
            // SDL asks to quit when it loses its Wayland compositor too.
            checkConnection(edge.watch);
            if (edge.closeQuits)
                return true;
        }
    }
    return false;
}
