#include "demo/demo.h"

#include "effects/landscape.h"

bool drawFrame(Demo& demo, Edge& edge)
{
    const Screen& screen = demo.screen;
    // Only the sky band is cleared: below it, whatever this frame does not
    // draw keeps the previous frame's pixels.
    SDL_FillRect(screen.surface, &demo.skyRect, RGB2value(screen, skyColour.r, skyColour.g, skyColour.b));
    demo.frame += 2;
    if (demo.frame > frameWrap)
        demo.frame -= pathLength;
    drawLandscape(screen, demo.tables, demo.heightMap, demo.frame);
    if (quitRequested(edge))
        return false;
    drawFlakes(demo.snow, screen, demo.tables, demo.frame);
    stepScroller(demo.scroller, screen, demo.frame);
    drawScroller(demo.scroller, screen, demo.tables, demo.frame);
    SDL_UpperBlit(demo.panel, &demo.panelSrcRect, screen.surface, &demo.panelDstRect);
    return true;
}
