#include "demo/frame.h"

#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "effects/tables.h"
#include "render/render.h"

namespace {

bool isQuitEvent(const SDL_Event& event, bool closeQuits)
{
    if (event.type == SDL_KEYDOWN)
        return event.key.keysym.sym == SDLK_ESCAPE;
    if (event.type == SDL_JOYBUTTONDOWN)
        return event.jbutton.button == 8 || event.jbutton.button == 14;
    return closeQuits && event.type == SDL_QUIT;
}

}  // namespace

// Full screen, the window system's close request is not a quit: the demo
// ends only on the viewer's own keys. Every other event is read and dropped.
bool quitRequested(bool closeQuits)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (isQuitEvent(event, closeQuits))
            return true;
    return false;
}

bool drawFrame(Demo& demo)
{
    // Only the sky band is cleared: below it, whatever this frame does not
    // draw keeps the previous frame's pixels.
    SDL_FillRect(screen, &demo.skyRect, RGB2value(60, 80, 150));
    demo.frame += 2;
    if (demo.frame > frameWrap)
        demo.frame -= pathLength;
    drawLandscape(demo.frame, demo.heightMap);
    if (quitRequested(demo.closeQuits))
        return false;
    drawFlakes(demo.frame);
    stepScroller(demo.frame);
    drawScroller(demo.frame);
    SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen, &demo.panelDstRect);
    return true;
}
