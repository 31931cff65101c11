#include "demo/frame.h"

#include "effects/landscape.h"
#include "effects/scroller.h"
#include "effects/snow.h"
#include "render/render.h"

bool isQuitEvent(const SDL_Event& event)
{
    if (event.type == SDL_KEYDOWN)
        return event.key.keysym.sym == SDLK_ESCAPE;
    if (event.type == SDL_JOYBUTTONDOWN)
        return event.jbutton.button == 8 || event.jbutton.button == 14;
    return false;
}

// The window system's close request is not a quit: the demo ends only on
// the viewer's own keys. Every other event is read and dropped.
bool quitRequested()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (isQuitEvent(event))
            return true;
    return false;
}

bool drawFrame(Demo& demo)
{
    // Rows 60..239 are never cleared: the landscape and the panel cover them.
    SDL_FillRect(screen, &demo.skyRect, RGB2value(60, 80, 150));
    demo.frame += 2;
    if (demo.frame > frameLimit)
        demo.frame -= 15000;
    drawLandscape(demo.frame, demo.heightMap);
    if (quitRequested())
        return false;
    drawFlakes(demo.frame);
    stepScroller(demo.frame);
    drawScroller(demo.frame);
    SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen, &demo.panelDstRect);
    return true;
}
